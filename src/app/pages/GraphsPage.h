#pragma once

#include "app/pages/Page.h"

namespace orven {

class GraphsPage : public Page {
  Q_OBJECT

public:
  GraphsPage(SessionController& controller, QWidget* parent);
};

}  // namespace orven
