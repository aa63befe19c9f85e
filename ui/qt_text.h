#pragma once

#include <QString>

#include <string>

namespace reelcraft {

// Texts and paths are bytes in the local 8-bit encoding outside Qt; QString only inside it.
inline QString FromLocal(const std::string &text) {
  return QString::fromLocal8Bit(text.data(), qsizetype(text.size()));
}
inline std::string ToLocal(const QString &text) { return text.toLocal8Bit().toStdString(); }

} // namespace reelcraft
