// The language of the user's Windows.
#pragma once

namespace win {

// The user's display language is Japanese.
bool UserLanguageIsJapanese();

}  // namespace win
