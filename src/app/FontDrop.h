// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>

class QWidget;

// What a drop from a file manager holds for the program: local font files and ZIP archives, in
// the order dropped; anything else (folders, other files, remote places) is left out.
struct DropPlan {
    QStringList fonts;
    QStringList archives;
    int count() const { return static_cast<int>(fonts.size() + archives.size()); }
};
DropPlan planDrop(const QList<QUrl> &urls);

// Takes drops of files onto the main window and onto every control of it that takes drops of its
// own (the lists' drags inside themselves, the sample text): one font file is previewed, a ZIP
// archive opened (the first, when only archives are dropped), several font files offered for
// install.
class FontDropTarget : public QObject {
    Q_OBJECT
public:
    explicit FontDropTarget(QWidget &window);

signals:
    void previewRequested(const QString &path);
    void archiveRequested(const QString &path);
    void installRequested(const QStringList &paths);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
