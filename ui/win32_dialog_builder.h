// SPDX-License-Identifier: MIT
#pragma once

#include "ui/dialog_template.h"

#include <cstdint>
#include <string>
#include <vector>
#include <windows.h>

namespace reelcraft {

// A DialogTemplate in the form the dialog manager reads from memory: a DLGTEMPLATEEX with its
// DLGITEMTEMPLATEEX items, texts in UTF-16 and in the user's language where the template names
// its translation context. For CreateDialogIndirectParamW and DialogBoxIndirectParamW, which
// create the controls with their styles, ids and tab order (template order).
class Win32DialogTemplate {
public:
  explicit Win32DialogTemplate(const DialogTemplate &dialogTemplate);

  const DLGTEMPLATE *get() const { return reinterpret_cast<const DLGTEMPLATE *>(words_.data()); }

private:
  void AddWord(uint16_t word) { words_.push_back(word); }
  void AddDword(uint32_t dword);
  void AddText(const std::wstring &text);
  void AlignToDword();

  // The template is a run of 16-bit words; the vector's storage is aligned for a DWORD.
  std::vector<uint16_t> words_;
};

} // namespace reelcraft
