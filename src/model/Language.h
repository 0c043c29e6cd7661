#pragma once

namespace orven {

// The interface language; every text the program shows exists in both.
enum class Language { Danish, English };

}  // namespace orven
