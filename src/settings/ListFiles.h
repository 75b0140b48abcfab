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

// Whether a path can stand in a list file as it is: a double quote would end its field and a
// line break its line, so a path holding either would be read back as another path.
bool listFileCanHold(const QString& path);

// Creates or overwrites the file; its folder is created when missing. An entry the file
// cannot hold is left out rather than written as a path that names another file. False when
// the file cannot be written (the previous file is then left as it was).
bool writeListFile(const QString& path, const QStringList& entries);

// The parsing of readListFile, on text already read.
QStringList parseListText(const QByteArray& text);

}  // namespace bw
