#pragma once

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "fakes/QtApp.h"

namespace bw::test {

// Widgets and fonts need an application object; the first test that asks creates one, and it
// lives until the test program ends.
inline void ensureApplication() { ensureQtApp(); }

// This folder in the source tree, which holds the test documents.
inline QString testFolder() { return QFileInfo(QStringLiteral(__FILE__)).absolutePath(); }

inline QByteArray readTestFile(const QString& relativePath) {
    QFile file(testFolder() + QLatin1Char('/') + relativePath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The document's text exactly as stored, paragraphs separated by '\n'.
inline QString rawText(const QTextDocument& document) {
    QString text = document.toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

// A cursor on the first character of the first occurrence of `needle`; null when not found.
inline QTextCursor cursorAt(const QTextDocument& document, const QString& needle) {
    const QTextCursor found = document.find(needle);
    if (found.isNull()) return found;
    QTextCursor cursor(found.document());
    cursor.setPosition(found.selectionStart() + 1);
    return cursor;
}

}  // namespace bw::test
