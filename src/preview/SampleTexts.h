// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// The sample text a first start shows and stores: fifteen lines.
QStringList designTimeSampleText();
// The multilingual sample that replaces the text when its first line reads "test": 58 lines in
// three sections, ending with a line feed.
QString multilingualSampleText();
// Lines of a single-byte text file: UTF-8 when valid, else Windows-1252; CR LF, LF and CR end lines.
QStringList linesOfTextFile(const QByteArray &content);
