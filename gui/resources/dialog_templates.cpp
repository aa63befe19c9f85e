// SPDX-License-Identifier: MIT
#include "gui/resources/dialog_templates.h"

#ifdef _WIN32
// Marks a text for the translation tools, which read this file for every system.
#define QT_TRANSLATE_NOOP(context, text) text
#else
#include <QtGlobal>
#endif

namespace reelcraft {

namespace {

constexpr const char *kDialogFont = "MS Sans Serif";
constexpr int kDialogFontPoints = 8;

constexpr uint32_t kButton = kStyleTabStop;
constexpr uint32_t kFolderEdit = kStyleTabStop | kStyleBorder | kStyleHScroll;
constexpr uint32_t kList = kStyleTabStop | kStyleBorder | kStyleNotify | kStyleVScroll |
                           kStyleHScroll | kStyleNoIntegralHeight;

// The order of each table is the tab order. The texts are marked for the translation tools,
// each with its dialog's context; the builder shows them in the user's language.
constexpr ControlTemplate kBatchControls[] = {
    {IDC_INPUT_FOLDER, ControlKind::Edit, "", 10, 10, 165, 14, kFolderEdit,
     QT_TRANSLATE_NOOP("BatchDialog", "Input folder"),
     QT_TRANSLATE_NOOP("BatchDialog", "The folder whose clips are listed below")},
    {IDC_BROWSE_INPUT, ControlKind::PushButton, "...", 180, 10, 15, 14, kButton,
     QT_TRANSLATE_NOOP("BatchDialog", "Browse for the input folder"),
     QT_TRANSLATE_NOOP("BatchDialog", "Chooses the input folder in a folder tree")},
    {IDC_OUTPUT_FOLDER, ControlKind::Edit, "", 255, 10, 165, 14, kFolderEdit,
     QT_TRANSLATE_NOOP("BatchDialog", "Output folder"),
     QT_TRANSLATE_NOOP("BatchDialog",
                       "The folder that receives the AVI files; its AVI files are listed below")},
    {IDC_BROWSE_OUTPUT, ControlKind::PushButton, "...", 430, 10, 15, 14, kButton,
     QT_TRANSLATE_NOOP("BatchDialog", "Browse for the output folder"),
     QT_TRANSLATE_NOOP("BatchDialog", "Chooses the output folder in a folder tree")},
    {IDC_DELETE_ORIGINAL, ControlKind::AutoCheckBox, "", 205, 15, 8, 8, kStyleTabStop,
     QT_TRANSLATE_NOOP("BatchDialog", "Delete Original"),
     QT_TRANSLATE_NOOP(
         "BatchDialog",
         "Deletes each clip once its AVI file is written and leaves an AVI file in its place")},
    {kNoControlId, ControlKind::StaticText, QT_TRANSLATE_NOOP("BatchDialog", "Delete"), 220, 10, 22,
     8, kStyleNone},
    {kNoControlId, ControlKind::StaticText, QT_TRANSLATE_NOOP("BatchDialog", "Original"), 220, 17,
     24, 8, kStyleNone},
    {IDC_CLIP_LIST, ControlKind::ListBox, "", 10, 30, 185, 100, kList | kStyleExtendedSel,
     QT_TRANSLATE_NOOP("BatchDialog", "Clips"),
     QT_TRANSLATE_NOOP("BatchDialog",
                       "The clips in the input folder; Create converts the selected ones")},
    {IDC_CREATE, ControlKind::PushButton, QT_TRANSLATE_NOOP("BatchDialog", "&Create >>"), 200, 35,
     50, 14, kButton | kStyleDisabled, nullptr,
     QT_TRANSLATE_NOOP("BatchDialog",
                       "Converts the selected clips into AVI files in the output folder")},
    {IDC_CREATE_ALL, ControlKind::PushButton, QT_TRANSLATE_NOOP("BatchDialog", "Create &All >>"),
     200, 60, 50, 14, kButton | kStyleDisabled, nullptr,
     QT_TRANSLATE_NOOP("BatchDialog",
                       "Converts every clip of the list into AVI files in the output folder")},
    {IDC_CANCEL_RUN, ControlKind::PushButton, QT_TRANSLATE_NOOP("BatchDialog", "Cancel"), 200, 85,
     50, 14, kStyleDisabled, nullptr,
     QT_TRANSLATE_NOOP("BatchDialog", "Stops the conversion of the clip in hand")},
    {IDC_AVI_LIST, ControlKind::ListBox, "", 255, 30, 190, 100, kList,
     QT_TRANSLATE_NOOP("BatchDialog", "AVI files"),
     QT_TRANSLATE_NOOP("BatchDialog",
                       "The AVI files in the output folder; Play opens the selected one")},
    {IDC_PLAY, ControlKind::PushButton, QT_TRANSLATE_NOOP("BatchDialog", "&Play"), 200, 110, 50, 14,
     kButton | kStyleDisabled, nullptr,
     QT_TRANSLATE_NOOP("BatchDialog", "Opens the selected AVI file in the system's player")},
    {IDC_EXIT, ControlKind::DefaultPushButton, QT_TRANSLATE_NOOP("BatchDialog", "E&xit"), 200, 155,
     50, 14, kButton, nullptr, QT_TRANSLATE_NOOP("BatchDialog", "Closes the window")},
    {IDC_PROGRESS, ControlKind::ProgressBar, "", 10, 140, 435, 10, kStyleBorder,
     QT_TRANSLATE_NOOP("BatchDialog", "Progress"),
     QT_TRANSLATE_NOOP("BatchDialog", "How far the clip in hand is converted")},
};

constexpr ControlTemplate kRegisterPromptControls[] = {
    {IDOK, ControlKind::DefaultPushButton, QT_TRANSLATE_NOOP("RegisterPromptDialog", "&Yes"), 65,
     45, 50, 14, kButton, nullptr,
     QT_TRANSLATE_NOOP("RegisterPromptDialog",
                       "Registers the program, so that file managers convert QVJ files")},
    {IDCANCEL, ControlKind::PushButton, QT_TRANSLATE_NOOP("RegisterPromptDialog", "&No"), 125, 45,
     50, 14, kButton, nullptr,
     QT_TRANSLATE_NOOP("RegisterPromptDialog", "Goes on without registering the program")},
    {kNoControlId, ControlKind::GroupBox, "", 5, 5, 230, 60, kStyleNone,
     QT_TRANSLATE_NOOP("RegisterPromptDialog", "Registration"),
     QT_TRANSLATE_NOOP("RegisterPromptDialog", "The question whether to register the program")},
    {IDC_REGISTER_QUESTION, ControlKind::StaticText,
     QT_TRANSLATE_NOOP("RegisterPromptDialog",
                       "Would you like to register this application on your system?"),
     10, 15, 182, 8, kStyleNone},
    {kNoControlId, ControlKind::StaticText,
     QT_TRANSLATE_NOOP(
         "RegisterPromptDialog",
         "This will allow 'QVJ' files to be automatically converted to 'AVI' format."),
     10, 26, 215, 18, kStyleNone},
    {IDC_NEVER_ASK, ControlKind::AutoCheckBox,
     QT_TRANSLATE_NOOP("RegisterPromptDialog", "Do not ask me again."), 5, 70, 230, 10,
     kStyleTabStop, nullptr,
     QT_TRANSLATE_NOOP("RegisterPromptDialog",
                       "Keeps this question from coming back at the next start")},
};

constexpr ControlTemplate kConvertProgressControls[] = {
    {kNoControlId, ControlKind::StaticText,
     QT_TRANSLATE_NOOP("ConvertProgressDialog", "Creating AVI File.  Press 'Cancel' to stop."), 5,
     10, 280, 8, kStyleCentered},
    {IDC_PROGRESS, ControlKind::ProgressBar, "", 5, 25, 280, 14, kStyleNone,
     QT_TRANSLATE_NOOP("ConvertProgressDialog", "Progress"),
     QT_TRANSLATE_NOOP("ConvertProgressDialog", "How far the clip is converted")},
    {IDC_CANCEL_RUN, ControlKind::PushButton, QT_TRANSLATE_NOOP("ConvertProgressDialog", "Cancel"),
     120, 45, 50, 14, kButton, nullptr,
     QT_TRANSLATE_NOOP("ConvertProgressDialog", "Stops the conversion")},
};

constexpr DialogTemplate kBatch = {452,
                                   175,
                                   kDialogFont,
                                   kDialogFontPoints,
                                   "",
                                   kDialogCaption | kDialogSystemMenu | kDialogAppWindow,
                                   kBatchControls,
                                   "BatchDialog"};

constexpr DialogTemplate kRegisterPrompt = {247,
                                            81,
                                            kDialogFont,
                                            kDialogFontPoints,
                                            "",
                                            kDialogModalFrame | kDialogCaption | kDialogSystemMenu,
                                            kRegisterPromptControls,
                                            "RegisterPromptDialog"};

constexpr DialogTemplate kConvertProgress = {292,
                                             66,
                                             kDialogFont,
                                             kDialogFontPoints,
                                             "",
                                             kDialogModalFrame | kDialogCaption | kDialogSystemMenu,
                                             kConvertProgressControls,
                                             "ConvertProgressDialog"};

} // namespace

const DialogTemplate &BatchTemplate() { return kBatch; }
const DialogTemplate &RegisterPromptTemplate() { return kRegisterPrompt; }
const DialogTemplate &ConvertProgressTemplate() { return kConvertProgress; }

} // namespace reelcraft
