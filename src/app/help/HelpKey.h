#pragma once

namespace orven {

class Page;

// F1 on a page: the topic of the focused control or of the nearest control
// around it that has one (HelpContextOf), asked for through the page's
// HelpRequested.
void AddHelpKey(Page& page);

}  // namespace orven
