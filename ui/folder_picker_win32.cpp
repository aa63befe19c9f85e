// SPDX-License-Identifier: MIT
#include "ui/folder_picker.h"

#include "sys/win32_text.h"
#include "ui/folder_rules.h"

#include <windows.h>

#include <commctrl.h> // after windows.h, whose types they use
#include <objbase.h>
#include <shlobj.h>

namespace reelcraft {

namespace {

// The ids that the browse dialog's parts are known by; the path box is ours.
constexpr int kFolderTreeId = 14145;
constexpr int kStatusLineId = 14147;
constexpr int kPathBoxId = 14148;
constexpr UINT_PTR kSubclassId = 1;
// The box's place: from this far above the tree to this far above it.
constexpr int kBoxTopAboveTree = 27;
constexpr int kBoxBottomAboveTree = 4;

// What the shell's dialog and our handlers of it share for one DoModal.
struct Browse {
  const std::optional<std::string> &title;
  const std::optional<std::string> &initialFolder;
  MessageSink &messages;
  std::string &path;
  HWND box = nullptr;
  bool accepted = false;
};

// COM for the shell's dialog, on a thread that may have it already.
class ComScope {
public:
  ComScope() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (initialized_)
      CoUninitialize();
  }
  ComScope(const ComScope &) = delete;
  ComScope &operator=(const ComScope &) = delete;

private:
  bool initialized_;
};

std::wstring TextOf(HWND window) {
  std::wstring text(size_t(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(size_t(GetWindowTextW(window, text.data(), int(text.size()))));
  return text;
}

void EnableOk(HWND dialog, bool enable) { SendMessageW(dialog, BFFM_ENABLEOK, 0, enable); }

// OK never ends the dialog by itself: the folder rules decide.
LRESULT CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR data) {
  auto &browse = *reinterpret_cast<Browse *>(data);
  if (message == WM_COMMAND && LOWORD(wParam) == kPathBoxId && HIWORD(wParam) == EN_CHANGE) {
    browse.path = Utf8Text(TextOf(browse.box));
    EnableOk(dialog, !browse.path.empty());
    return 0;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
    browse.path = Utf8Text(TextOf(browse.box));
    if (ValidateOrCreateFolder(browse.path, browse.messages) != kFolderAccepted) {
      SetFocus(browse.box);
      return 0;
    }
    browse.accepted = true;
    EndDialog(dialog, IDOK);
    return 0;
  }
  if (message == WM_NCDESTROY)
    RemoveWindowSubclass(dialog, DialogProc, kSubclassId);
  return DefSubclassProc(dialog, message, wParam, lParam);
}

// The path box takes the status line's room above the tree, with the dialog's font, and comes
// before the tree in the tab order.
HWND AddPathBox(HWND dialog) {
  HWND tree = GetDlgItem(dialog, kFolderTreeId);
  RECT place = {};
  GetWindowRect(tree, &place);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&place), 2);
  HWND box = CreateWindowExW(
      WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
      place.left, place.top - kBoxTopAboveTree, place.right - place.left,
      kBoxTopAboveTree - kBoxBottomAboveTree, dialog, reinterpret_cast<HMENU>(kPathBoxId),
      GetModuleHandleW(nullptr), nullptr);
  SendMessageW(box, WM_SETFONT, SendMessageW(dialog, WM_GETFONT, 0, 0), TRUE);
  HWND beforeTree = GetWindow(tree, GW_HWNDPREV);
  SetWindowPos(box, beforeTree ? beforeTree : HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return box;
}

void Initialize(HWND dialog, Browse &browse) {
  if (browse.title)
    SetWindowTextW(dialog, WideText(*browse.title).c_str());
  SetWindowSubclass(dialog, DialogProc, kSubclassId, reinterpret_cast<DWORD_PTR>(&browse));
  ShowWindow(GetDlgItem(dialog, kStatusLineId), SW_HIDE);
  browse.box = AddPathBox(dialog);
  std::wstring folder;
  if (browse.initialFolder) {
    folder = WideText(*browse.initialFolder);
  } else {
    folder.resize(GetCurrentDirectoryW(0, nullptr));
    folder.resize(GetCurrentDirectoryW(DWORD(folder.size()), folder.data()));
  }
  SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
}

// The box shows the selected folder's path; a selection without a drive's path empties it.
void MirrorSelection(HWND dialog, Browse &browse, LPCITEMIDLIST selected) {
  wchar_t path[MAX_PATH] = {};
  if (!SHGetPathFromIDListW(selected, path) || path[1] != L':')
    path[0] = L'\0';
  EnableOk(dialog, path[0] != L'\0');
  SetWindowTextW(browse.box, path);
}

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM lParam, LPARAM data) {
  auto &browse = *reinterpret_cast<Browse *>(data);
  if (message == BFFM_INITIALIZED)
    Initialize(dialog, browse);
  else if (message == BFFM_SELCHANGED && browse.box)
    MirrorSelection(dialog, browse, reinterpret_cast<LPCITEMIDLIST>(lParam));
  return 0;
}

} // namespace

FolderPicker::FolderPicker(std::optional<std::string> title, std::string prompt,
                           std::optional<std::string> initialFolder, OwnerWindowRef parent,
                           MessageSink &messages)
    : title_(std::move(title)), prompt_(std::move(prompt)),
      initialFolder_(std::move(initialFolder)),
      owner_(parent ? GetAncestor(parent, GA_ROOT) : GetActiveWindow()), messages_(messages) {}

int FolderPicker::DoModal() {
  ComScope com;
  Browse browse{title_, initialFolder_, messages_, path_};
  std::wstring prompt = WideText(prompt_);
  wchar_t displayName[MAX_PATH] = {};
  BROWSEINFOW info = {};
  info.hwndOwner = owner_;
  info.pszDisplayName = displayName;
  info.lpszTitle = prompt.c_str();
  // The classic dialog, whose status line makes room for the path box.
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
  info.lpfn = BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(&browse);
  CoTaskMemFree(SHBrowseForFolderW(&info));
  return browse.accepted ? 1 : -1;
}

} // namespace reelcraft
