#pragma once

namespace orven {

// The welcome window's text, which a first-time user accepts or rejects.
const char* WelcomeText(bool english);

}  // namespace orven
