#pragma once
// Files that Qt's writers (QImageWriter, QPdfWriter) produce, written the way
// every output is: beside the name, checked to the end, then renamed.
#include <QIODevice>
#include <QString>
#include <functional>
#include <string>

#include "model/staged_file.h"

namespace accelog {

// `write` fills the device and returns an empty text, or why it could not.
// Qt never sees the file's name, so the name's bytes are used as given.
// Returns an empty text when the file is whole under `path`, else
// "<path>: <reason>" with the system's reason for the first failed write.
std::string WriteStagedQtFile(const std::string& path, const std::function<QString(QIODevice&)>& write,
                              const WholeFileCheck& check);

}  // namespace accelog
