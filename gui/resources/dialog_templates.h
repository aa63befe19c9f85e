// SPDX-License-Identifier: MIT
#pragma once

#include "sys/version.h"
#include "ui/dialog_template.h"

#include <string>

namespace reelcraft {

// The caption that every window of the program shows: "Reelcraft 1-05".
inline const std::string kWindowCaption = "Reelcraft " + VersionText(kVersionStamp);

// The dialog manager's own command ids, which the system's headers define where they are seen.
#ifndef IDOK
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
#endif

// Controls of the batch window (102); 1009 and 1019 are also in the single-clip dialog (132).
constexpr int IDC_CREATE = 1004;
constexpr int IDC_PROGRESS = 1009;
constexpr int IDC_CLIP_LIST = 1010;
constexpr int IDC_CREATE_ALL = 1011;
constexpr int IDC_AVI_LIST = 1012;
constexpr int IDC_PLAY = 1013;
constexpr int IDC_CANCEL_RUN = 1019;
constexpr int IDC_INPUT_FOLDER = 1020;
constexpr int IDC_BROWSE_INPUT = 1021;
constexpr int IDC_OUTPUT_FOLDER = 1022;
constexpr int IDC_BROWSE_OUTPUT = 1023;
constexpr int IDC_DELETE_ORIGINAL = 1024;
constexpr int IDC_EXIT = 1025;

// Controls of the register prompt (131).
constexpr int IDC_NEVER_ASK = 1026;
constexpr int IDC_REGISTER_QUESTION = 1027;

const DialogTemplate &BatchTemplate();
const DialogTemplate &RegisterPromptTemplate();
const DialogTemplate &ConvertProgressTemplate();

} // namespace reelcraft
