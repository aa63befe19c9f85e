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

} // namespace reelcraft
