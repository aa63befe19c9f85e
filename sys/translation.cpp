// SPDX-License-Identifier: MIT
#include "sys/translation.h"

#include <atomic>

namespace reelcraft {

namespace {

// The one setting of the whole process, like its locale: every window and conversion speaks
// the same language.
std::atomic<Translator> installedTranslator{nullptr};

} // namespace

void SetTranslator(Translator translator) { installedTranslator.store(translator); }

std::string Translate(const char *context, const char *text) {
  Translator translator = installedTranslator.load();
  return translator ? translator(context, text) : std::string(text);
}

std::string FillIn(std::string text, std::initializer_list<std::string> values) {
  std::string filled;
  for (size_t at = 0; at < text.size(); ++at) {
    size_t index = at + 1 < text.size() ? size_t(text[at + 1] - '1') : values.size();
    if (text[at] == '%' && index < values.size()) {
      filled += values.begin()[index];
      ++at;
    } else {
      filled += text[at];
    }
  }
  return filled;
}

} // namespace reelcraft
