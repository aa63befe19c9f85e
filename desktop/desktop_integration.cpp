// SPDX-License-Identifier: MIT
#include "desktop/desktop_integration.h"

#include "desktop/command_text.h"
#include "desktop/mimeapps_list.h"
#include "sys/file_system.h"
#include "sys/paths.h"
#include "sys/text_files.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <dirent.h>
#include <set>
#include <span>
#include <strings.h>
#include <sys/time.h>

namespace reelcraft {

namespace {

struct DesktopVerb {
  std::string id; // the desktop file's id
  std::string name;
  std::vector<std::string> argv;
};

// Characters that make an Exec argument need quotes.
constexpr const char *kReserved = " \t\n\"'\\><~|&;$*?#()`";

std::optional<std::string> DefaultString(RegistryStore &store, RegistryKeyId base,
                                         const std::string &path) {
  std::optional<RegistryKeyId> key = store.OpenKey(base, path, false);
  std::optional<RegistryValue> value = key ? store.QueryValue(*key, "") : std::nullopt;
  if (!value || value->type != REG_SZ)
    return std::nullopt;
  std::string text(value->data.begin(), value->data.end());
  return text.substr(0, text.find('\0'));
}

struct Replacement {
  char c;
  const char *text;
};
// Escapes for a desktop file's string value, and for XML text and attributes.
constexpr Replacement kDesktopValueEscapes[] = {
    {'\\', "\\\\"}, {'\n', "\\n"}, {'\t', "\\t"}, {'\r', "\\r"}};
constexpr Replacement kXmlEscapes[] = {
    {'&', "&amp;"}, {'<', "&lt;"}, {'>', "&gt;"}, {'"', "&quot;"}};

std::string Escaped(const std::string &text, std::span<const Replacement> replacements) {
  std::string escaped;
  for (char c : text) {
    auto found = std::find_if(replacements.begin(), replacements.end(),
                              [c](const Replacement &r) { return r.c == c; });
    escaped += found == replacements.end() ? std::string(1, c) : std::string(found->text);
  }
  return escaped;
}

std::string EscapeValue(const std::string &text) { return Escaped(text, kDesktopValueEscapes); }
std::string EscapeXml(const std::string &text) { return Escaped(text, kXmlEscapes); }

std::string QuoteExecArgument(const std::string &argument) {
  std::string text;
  for (char c : argument)
    text += c == '%' ? std::string("%%") : std::string(1, c);
  if (!text.empty() && text.find_first_of(kReserved) == std::string::npos)
    return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '`' || c == '$' || c == '\\')
      quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

std::string VerbId(const std::string &prefix, const std::string &verb) {
  std::string id = prefix + "-";
  for (unsigned char c : verb)
    id += std::isalnum(c) || c == '-' || c == '_' ? char(std::tolower(c)) : '_';
  return id;
}

// The file type that the extension names, if it names a usable one.
std::optional<std::string> AssociatedType(RegistryStore &store, const DesktopFileType &type) {
  RegistryKeyId classes = RegistryStore::Root(RegistryRoot::ClassesRoot);
  std::optional<std::string> typeName = DefaultString(store, classes, type.extension);
  if (!typeName || typeName->empty() || typeName->find('\\') != std::string::npos)
    return std::nullopt;
  return typeName;
}

std::vector<DesktopVerb> RegisteredVerbs(RegistryStore &store, const DesktopFileType &type,
                                         const std::string &typeName,
                                         const std::string &typeTitle) {
  std::vector<DesktopVerb> verbs;
  RegistryKeyId classes = RegistryStore::Root(RegistryRoot::ClassesRoot);
  std::optional<RegistryKeyId> shell = store.OpenKey(classes, typeName + "\\shell", false);
  if (!shell)
    return verbs;
  for (const std::string &verb : store.SubKeyNames(*shell)) {
    std::optional<std::string> command = DefaultString(store, *shell, verb + "\\command");
    std::optional<std::vector<std::string>> argv =
        command ? SplitVerbCommand(*command) : std::nullopt;
    if (!argv || argv->empty())
      continue;
    std::string name = DefaultString(store, *shell, verb).value_or("");
    if (name.empty())
      name = strcasecmp(verb.c_str(), "open") == 0 ? typeTitle : verb;
    verbs.push_back({VerbId(type.fileIdPrefix, verb), name, *argv});
  }
  return verbs;
}

std::string DesktopEntry(const DesktopVerb &verb, const DesktopFileType &type) {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Version=1.0\n"
         "Name=" +
         EscapeValue(verb.name) + "\n" + "Icon=" + EscapeValue(type.icon) + "\n" +
         "Exec=" + EscapeValue(DesktopExecLine(verb.argv)) + "\n" + "MimeType=" + type.mimeType +
         ";\n"
         "NoDisplay=true\n"
         "Terminal=false\n";
}

std::string MimePackage(const DesktopFileType &type, const std::string &comment) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
         "  <mime-type type=\"" +
         EscapeXml(type.mimeType) + "\">\n    <comment>" + EscapeXml(comment) +
         "</comment>\n"
         "    <generic-icon name=\"video-x-generic\"/>\n"
         "    <glob pattern=\"*" +
         EscapeXml(type.extension) +
         "\"/>\n"
         "    <magic priority=\"50\">\n"
         "      <match type=\"string\" offset=\"0\" value=\"" +
         EscapeXml(type.magic) +
         "\"/>\n"
         "    </magic>\n"
         "  </mime-type>\n"
         "</mime-info>\n";
}

// Removes our desktop entries that are not in `keep`; gives whether it removed any.
bool RemoveStaleEntries(const std::string &folder, const std::string &prefix,
                        const std::set<std::string> &keep) {
  DIR *dir = opendir(folder.c_str());
  if (!dir)
    return false;
  std::vector<std::string> stale;
  while (const dirent *entry = readdir(dir)) {
    std::string name = entry->d_name;
    bool ours = name.starts_with(prefix + "-") && name.ends_with(".desktop");
    if (ours && !keep.count(name))
      stale.push_back(name);
  }
  closedir(dir);
  bool removed = false;
  for (const std::string &name : stale)
    removed = DeletePath(folder + "/" + name) || removed;
  return removed;
}

// The icons go with the association; the theme's folder is touched so that icon caches see the
// change.
void UpdateIcons(const DesktopFileType &type, bool associated) {
  std::string theme = XdgDataHome() + "/icons/hicolor";
  bool changed = false;
  for (const DesktopIcon &icon : type.icons) {
    std::string path = theme + "/" + icon.path;
    if (associated)
      changed = WriteFileReplacing(path, std::string(icon.bytes)) || changed;
    else
      changed = DeletePath(path) || changed;
  }
  if (changed)
    ::utimes(theme.c_str(), nullptr);
}

// The file `name` beside the program that "open" starts, if there is one.
std::optional<std::string> BesideRegisteredProgram(const DesktopFileType &type,
                                                   const std::vector<DesktopVerb> &verbs,
                                                   const std::string &name) {
  for (const DesktopVerb &verb : verbs) {
    if (name.empty() || verb.id != VerbId(type.fileIdPrefix, "open"))
      continue;
    std::string file = ParentFolder(verb.argv[0]) + "/" + name;
    if (PathExists(file))
      return file;
  }
  return std::nullopt;
}

void UpdateThumbnailer(const DesktopFileType &type, const std::vector<DesktopVerb> &verbs) {
  std::string entry = XdgDataHome() + "/thumbnailers/" + type.fileIdPrefix + ".thumbnailer";
  std::optional<std::string> program = BesideRegisteredProgram(type, verbs, type.thumbnailer);
  if (!program) {
    DeletePath(entry);
    return;
  }
  WriteFileReplacing(entry, "[Thumbnailer Entry]\nTryExec=" + EscapeValue(*program) +
                                "\nExec=" + EscapeValue(DesktopExecLine({*program})) +
                                " -s %s %i %o\nMimeType=" + type.mimeType + ";\n");
}

// GStreamer's programs load the plugin from the user's own plugins while the type is registered.
void UpdateGStreamerPlugin(const DesktopFileType &type, const std::vector<DesktopVerb> &verbs) {
  if (type.gstreamerPlugin.empty())
    return;
  std::string copy = XdgDataHome() + "/gstreamer-1.0/plugins/" + type.gstreamerPlugin;
  std::optional<std::string> plugin = BesideRegisteredProgram(type, verbs, type.gstreamerPlugin);
  if (!plugin) {
    DeletePath(copy);
    return;
  }
  std::string bytes = ReadFileText(*plugin);
  if (!PathExists(copy) || ReadFileText(copy) != bytes)
    WriteFileReplacing(copy, bytes);
}

} // namespace

std::string DesktopExecLine(const std::vector<std::string> &argv) {
  std::string line;
  for (const std::string &argument : argv) {
    if (!line.empty())
      line += ' ';
    line += argument == "%1" ? "%f" : QuoteExecArgument(argument);
  }
  return line;
}

void RebuildDesktopIntegration(RegistryStore &store, const DesktopFileType &type,
                               const CommandRunner &run) {
  std::string data = XdgDataHome();
  std::string applications = data + "/applications";
  std::string package = data + "/mime/packages/" + type.fileIdPrefix + ".xml";

  std::optional<std::string> typeName = AssociatedType(store, type);
  std::string typeTitle;
  std::vector<DesktopVerb> verbs;
  if (typeName) {
    RegistryKeyId classes = RegistryStore::Root(RegistryRoot::ClassesRoot);
    typeTitle = DefaultString(store, classes, *typeName).value_or("");
    if (typeTitle.empty())
      typeTitle = *typeName;
    verbs = RegisteredVerbs(store, type, *typeName, typeTitle);
  }

  std::set<std::string> written;
  bool hasOpen = false;
  for (const DesktopVerb &verb : verbs) {
    if (WriteFileReplacing(applications + "/" + verb.id + ".desktop", DesktopEntry(verb, type)))
      written.insert(verb.id + ".desktop");
    hasOpen = hasOpen || verb.id == VerbId(type.fileIdPrefix, "open");
  }
  bool entriesChanged = !written.empty();
  entriesChanged = RemoveStaleEntries(applications, type.fileIdPrefix, written) || entriesChanged;
  bool typeChanged =
      typeName ? WriteFileReplacing(package, MimePackage(type, typeTitle)) : DeletePath(package);
  UpdateUserDefaultApplication(type.mimeType, VerbId(type.fileIdPrefix, "open") + ".desktop",
                               hasOpen);
  UpdateIcons(type, typeName.has_value());
  UpdateThumbnailer(type, verbs);
  UpdateGStreamerPlugin(type, verbs);

  // Only after a change: the databases are files in the home folder too.
  if (typeChanged)
    run({"update-mime-database", data + "/mime"});
  if (entriesChanged)
    run({"update-desktop-database", applications});
}

} // namespace reelcraft
