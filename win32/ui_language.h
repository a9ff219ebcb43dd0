// The one rule for the language the add-on speaks: the user's Windows display language.
#pragma once

#include <windows.h>

namespace kvs {

enum class UiLanguage { English, Russian };

// Russian when the user's display language is Russian, English otherwise.
UiLanguage user_language();

// The language id of the add-on's texts in `language`, for resources and the system's own texts.
LANGID language_id(UiLanguage language);

}  // namespace kvs
