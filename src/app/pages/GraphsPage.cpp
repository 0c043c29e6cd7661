#include "app/pages/GraphsPage.h"

namespace orven {

GraphsPage::GraphsPage(SessionController& controller, QWidget* parent) : Page(controller, "TabSheet6", parent) {}

}  // namespace orven
