// SPDX-License-Identifier: MIT
#pragma once

#include <initializer_list>
#include <string>

namespace reelcraft {

// The texts a person reads in the windows are written in English in the code and shown in the
// user's language once the program with the windows has set its translator. Code without a
// user interface of its own (the engine, start-up, installation) writes
//   Translate("Context", "English text")
// for each such text, with both as literals: the translation tools collect them from these
// calls. Without a translator, as in qvj2avi, the English text is what shows.

// Looks up `text` of `context` in the user's language; gives the text as it is when there is no
// translation for it.
using Translator = std::string (*)(const char *context, const char *text);

// Set once, before any conversion starts; nullptr goes back to English.
void SetTranslator(Translator translator);

std::string Translate(const char *context, const char *text);

// `text` with %1, %2, ... replaced by `values` in their order, so that a translation can put
// them where its language wants them.
std::string FillIn(std::string text, std::initializer_list<std::string> values);

} // namespace reelcraft
