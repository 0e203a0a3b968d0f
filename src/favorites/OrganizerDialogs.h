// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class Prompter;

// "New Favorite" / "New Link": a title and a value.
class TFormNewItem : public QDialog {
    Q_OBJECT
public:
    explicit TFormNewItem(QWidget *parent = nullptr);

    QLabel *LabelTitle;
    QLineEdit *ItemTitle;
    QLabel *LabelValue;
    QLineEdit *ItemValue;
    QPushButton *OK;
    QPushButton *Cancel;
};

// Shows the new-item dialog; on OK returns true with the two texts and empties the fields, on
// Cancel leaves them for next time.
bool AskNewItem(Prompter &prompter, TFormNewItem &dialog, const QString &caption, const QString &titleLabel,
                const QString &valueLabel, QString &title, QString &value);

// The organiser of a user menu: rows of title and value, moved, added, deleted and renamed.
// Why a favourite cannot name this folder, "" when it can: "fonts" (the installed fonts) or a
// folder that exists.
QString favoriteFolderRefusal(const QString &path);

class OrganizerDialog : public QDialog {
    Q_OBJECT
public:
    OrganizerDialog(Prompter &prompter, TFormNewItem &newItem, const QString &caption, const QString &valueHeader,
                    const QString &newCaption, const QString &valueLabel, QWidget *parent);

    void clearRows();
    void addRow(const QString &title, const QString &value);
    int rowCount() const;
    QString title(int row) const;
    QString value(int row) const;
    int selectedRow() const;
    void selectRow(int row);

    void UpClick();
    void DownClick();
    void AddClick();
    void DeleteClick();
    void RenameClick();

    QTreeWidget *DirList;
    QPushButton *Up;
    QPushButton *Down;
    QPushButton *Add;
    QPushButton *Delete;
    QPushButton *Rename;
    QPushButton *OK;
    QPushButton *Cancel;

protected:
    // Why a typed value cannot be added, "" when it can.
    virtual QString refusalOf(const QString &value) const;

private:
    void swapRows(int a, int b);

    Prompter &m_prompter;
    TFormNewItem &m_newItem;
    QString m_newCaption;
    QString m_valueLabel;
};

class TFormFavOrg : public OrganizerDialog {
    Q_OBJECT
public:
    TFormFavOrg(Prompter &prompter, TFormNewItem &newItem, QWidget *parent = nullptr);

protected:
    QString refusalOf(const QString &value) const override;
};

class TFormLinksOrg : public OrganizerDialog {
    Q_OBJECT
public:
    TFormLinksOrg(Prompter &prompter, TFormNewItem &newItem, QWidget *parent = nullptr);
};
