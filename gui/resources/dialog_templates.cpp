// SPDX-License-Identifier: MIT
#include "gui/resources/dialog_templates.h"

namespace reelcraft {

namespace {

constexpr const char *kDialogFont = "MS Sans Serif";
constexpr int kDialogFontPoints = 8;

constexpr uint32_t kButton = kStyleTabStop;
constexpr uint32_t kFolderEdit = kStyleTabStop | kStyleBorder | kStyleHScroll;
constexpr uint32_t kList = kStyleTabStop | kStyleBorder | kStyleNotify | kStyleVScroll |
                           kStyleHScroll | kStyleNoIntegralHeight;

// The order of each table is the tab order.
constexpr ControlTemplate kBatchControls[] = {
    {IDC_INPUT_FOLDER, ControlKind::Edit, "", 10, 10, 165, 14, kFolderEdit},
    {IDC_BROWSE_INPUT, ControlKind::PushButton, "...", 180, 10, 15, 14, kButton},
    {IDC_OUTPUT_FOLDER, ControlKind::Edit, "", 255, 10, 165, 14, kFolderEdit},
    {IDC_BROWSE_OUTPUT, ControlKind::PushButton, "...", 430, 10, 15, 14, kButton},
    {IDC_DELETE_ORIGINAL, ControlKind::AutoCheckBox, "", 205, 15, 8, 8, kStyleTabStop},
    {kNoControlId, ControlKind::StaticText, "Delete", 220, 10, 22, 8, kStyleNone},
    {kNoControlId, ControlKind::StaticText, "Original", 220, 17, 24, 8, kStyleNone},
    {IDC_CLIP_LIST, ControlKind::ListBox, "", 10, 30, 185, 100, kList | kStyleExtendedSel},
    {IDC_CREATE, ControlKind::PushButton, "&Create >>", 200, 35, 50, 14, kButton | kStyleDisabled},
    {IDC_CREATE_ALL, ControlKind::PushButton, "Create &All >>", 200, 60, 50, 14,
     kButton | kStyleDisabled},
    {IDC_CANCEL_RUN, ControlKind::PushButton, "Cancel", 200, 85, 50, 14, kStyleDisabled},
    {IDC_AVI_LIST, ControlKind::ListBox, "", 255, 30, 190, 100, kList},
    {IDC_PLAY, ControlKind::PushButton, "&Play", 200, 110, 50, 14, kButton | kStyleDisabled},
    {IDC_EXIT, ControlKind::DefaultPushButton, "E&xit", 200, 155, 50, 14, kButton},
    {IDC_PROGRESS, ControlKind::ProgressBar, "", 10, 140, 435, 10, kStyleBorder},
};

constexpr ControlTemplate kRegisterPromptControls[] = {
    {IDOK, ControlKind::DefaultPushButton, "&Yes", 65, 45, 50, 14, kButton},
    {IDCANCEL, ControlKind::PushButton, "&No", 125, 45, 50, 14, kButton},
    {kNoControlId, ControlKind::GroupBox, "", 5, 5, 230, 60, kStyleNone},
    {kNoControlId, ControlKind::StaticText,
     "Would you like to register this application on your system?", 10, 15, 182, 8, kStyleNone},
    {kNoControlId, ControlKind::StaticText,
     "This will allow 'QVJ' files to be automatically converted to 'AVI' format.", 10, 30, 215, 8,
     kStyleNone},
    {IDC_NEVER_ASK, ControlKind::AutoCheckBox, "Do not ask me again.", 5, 70, 230, 10,
     kStyleTabStop},
};

constexpr ControlTemplate kConvertProgressControls[] = {
    {kNoControlId, ControlKind::StaticText, "Creating AVI File.  Press 'Cancel' to stop.", 5, 10,
     280, 8, kStyleCentered},
    {IDC_PROGRESS, ControlKind::ProgressBar, "", 5, 25, 280, 14, kStyleNone},
    {IDC_CANCEL_RUN, ControlKind::PushButton, "Cancel", 120, 45, 50, 14, kButton},
};

constexpr DialogTemplate kBatch = {452,
                                   175,
                                   kDialogFont,
                                   kDialogFontPoints,
                                   "",
                                   kDialogCaption | kDialogSystemMenu | kDialogAppWindow,
                                   kBatchControls};

constexpr DialogTemplate kRegisterPrompt = {247,
                                            81,
                                            kDialogFont,
                                            kDialogFontPoints,
                                            "",
                                            kDialogModalFrame | kDialogCaption | kDialogSystemMenu,
                                            kRegisterPromptControls};

constexpr DialogTemplate kConvertProgress = {292,
                                             66,
                                             kDialogFont,
                                             kDialogFontPoints,
                                             "",
                                             kDialogModalFrame | kDialogCaption | kDialogSystemMenu,
                                             kConvertProgressControls};

} // namespace

const DialogTemplate &BatchTemplate() { return kBatch; }
const DialogTemplate &RegisterPromptTemplate() { return kRegisterPrompt; }
const DialogTemplate &ConvertProgressTemplate() { return kConvertProgress; }

} // namespace reelcraft
