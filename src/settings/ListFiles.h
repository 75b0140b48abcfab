#pragma once

#include <QString>
#include <QStringList>

namespace bw {

// The play list and album files: one quoted full path per line, CR LF line ends, in list
// order; an empty list is an empty file.

// The entries of a list file; empty when the file does not exist. Fields are the texts
// between double quotes; a comma outside quotes or a line end also ends a field, so an
// unquoted line still gives its text. Damaged files give what can be read.
QStringList readListFile(const QString& path);

// Creates or overwrites the file; its folder is created when missing. False when it cannot
// be written (the previous file is then left as it was).
bool writeListFile(const QString& path, const QStringList& entries);

// The parsing of readListFile, on text already read.
QStringList parseListText(const QByteArray& text);

}  // namespace bw
