#include "win/locale.h"

#include <windows.h>

namespace win {

bool UserLanguageIsJapanese() { return PRIMARYLANGID(::GetUserDefaultUILanguage()) == LANG_JAPANESE; }

}  // namespace win
