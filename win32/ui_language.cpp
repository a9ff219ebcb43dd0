#include "win32/ui_language.h"

namespace kvs {

UiLanguage user_language() {
  return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_RUSSIAN ? UiLanguage::Russian : UiLanguage::English;
}

LANGID language_id(UiLanguage language) {
  return language == UiLanguage::Russian ? MAKELANGID(LANG_RUSSIAN, SUBLANG_RUSSIAN_RUSSIA)
                                         : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
}

}  // namespace kvs
