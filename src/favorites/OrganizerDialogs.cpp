// SPDX-License-Identifier: MIT
#include "OrganizerDialogs.h"

#include "NativePaths.h"
#include "Prompter.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

TFormNewItem::TFormNewItem(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TFormNewItem"));
    setWindowTitle(QStringLiteral("New"));
    auto *layout = new QGridLayout(this);
    LabelTitle = new QLabel(QStringLiteral("Title:"), this);
    ItemTitle = new QLineEdit(this);
    LabelValue = new QLabel(QStringLiteral("Value:"), this);
    ItemValue = new QLineEdit(this);
    ItemValue->setMinimumWidth(260);
    OK = new QPushButton(QStringLiteral("OK"), this);
    Cancel = new QPushButton(QStringLiteral("Cancel"), this);
    OK->setDefault(true);
    layout->addWidget(LabelTitle, 0, 0);
    layout->addWidget(ItemTitle, 0, 1);
    layout->addWidget(LabelValue, 1, 0);
    layout->addWidget(ItemValue, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OK);
    buttons->addWidget(Cancel);
    layout->addLayout(buttons, 2, 0, 1, 2);
    connect(OK, &QPushButton::clicked, this, [this] { done(ModalResult::Ok); });
    connect(Cancel, &QPushButton::clicked, this, [this] { done(ModalResult::Cancel); });
}

bool AskNewItem(Prompter &prompter, TFormNewItem &dialog, const QString &caption, const QString &titleLabel,
                const QString &valueLabel, QString &title, QString &value)
{
    dialog.setWindowTitle(caption);
    dialog.LabelTitle->setText(titleLabel);
    dialog.LabelValue->setText(valueLabel);
    dialog.ItemTitle->setFocus();
    if (prompter.runDialog(dialog) != ModalResult::Ok)
        return false;
    title = dialog.ItemTitle->text();
    value = dialog.ItemValue->text();
    dialog.ItemTitle->clear();
    dialog.ItemValue->clear();
    return true;
}

OrganizerDialog::OrganizerDialog(Prompter &prompter, TFormNewItem &newItem, const QString &caption, const QString &valueHeader,
                                 const QString &newCaption, const QString &valueLabel, QWidget *parent)
    : QDialog(parent)
    , m_prompter(prompter)
    , m_newItem(newItem)
    , m_newCaption(newCaption)
    , m_valueLabel(valueLabel)
{
    setWindowTitle(caption);
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    DirList = new QTreeWidget(this);
    DirList->setObjectName(QStringLiteral("DirList"));
    DirList->setColumnCount(2);
    DirList->setHeaderLabels({QStringLiteral("Name"), valueHeader});
    DirList->setRootIsDecorated(false);
    DirList->setSelectionBehavior(QAbstractItemView::SelectRows);
    DirList->setSelectionMode(QAbstractItemView::SingleSelection);
    DirList->header()->setSectionsClickable(false);
    DirList->setColumnWidth(0, 80);
    DirList->setColumnWidth(1, 166);
    DirList->setMinimumWidth(260);
    top->addWidget(DirList, 1);
    auto *column = new QVBoxLayout;
    auto button = [this, column](const char *text) {
        auto *b = new QPushButton(QString::fromLatin1(text), this);
        b->setObjectName(QString::fromLatin1(text));
        column->addWidget(b);
        return b;
    };
    Up = button("Up");
    Down = button("Down");
    column->addSpacing(12);
    Add = button("Add");
    Delete = button("Delete");
    Rename = button("Rename");
    column->addStretch();
    top->addLayout(column);
    layout->addLayout(top);
    auto *downPanel = new QWidget(this);
    downPanel->setObjectName(QStringLiteral("DownPanel"));
    auto *down = new QHBoxLayout(downPanel);
    down->addStretch();
    OK = new QPushButton(QStringLiteral("OK"), downPanel);
    Cancel = new QPushButton(QStringLiteral("Cancel"), downPanel);
    OK->setDefault(true);
    down->addWidget(OK);
    down->addWidget(Cancel);
    layout->addWidget(downPanel);
    connect(Up, &QPushButton::clicked, this, [this] { UpClick(); });
    connect(Down, &QPushButton::clicked, this, [this] { DownClick(); });
    connect(Add, &QPushButton::clicked, this, [this] { AddClick(); });
    connect(Delete, &QPushButton::clicked, this, [this] { DeleteClick(); });
    connect(Rename, &QPushButton::clicked, this, [this] { RenameClick(); });
    connect(OK, &QPushButton::clicked, this, [this] { done(ModalResult::Ok); });
    connect(Cancel, &QPushButton::clicked, this, [this] { done(ModalResult::Cancel); });
    resize(380, 260);
}

void OrganizerDialog::clearRows()
{
    DirList->clear();
}

void OrganizerDialog::addRow(const QString &title, const QString &value)
{
    new QTreeWidgetItem(DirList, QStringList{title, value});
}

int OrganizerDialog::rowCount() const
{
    return DirList->topLevelItemCount();
}

QString OrganizerDialog::title(int row) const
{
    return DirList->topLevelItem(row)->text(0);
}

QString OrganizerDialog::value(int row) const
{
    return DirList->topLevelItem(row)->text(1);
}

int OrganizerDialog::selectedRow() const
{
    const QList<QTreeWidgetItem *> selected = DirList->selectedItems();
    return selected.isEmpty() ? -1 : DirList->indexOfTopLevelItem(selected.first());
}

void OrganizerDialog::selectRow(int row)
{
    DirList->clearSelection();
    if (row >= 0 && row < rowCount()) {
        DirList->setCurrentItem(DirList->topLevelItem(row));
        DirList->topLevelItem(row)->setSelected(true);
    }
}

void OrganizerDialog::swapRows(int a, int b)
{
    QTreeWidgetItem *first = DirList->topLevelItem(a);
    QTreeWidgetItem *second = DirList->topLevelItem(b);
    for (int column = 0; column < 2; ++column) {
        const QString text = first->text(column);
        first->setText(column, second->text(column));
        second->setText(column, text);
    }
}

void OrganizerDialog::UpClick()
{
    const int row = selectedRow();
    if (row > 0) {
        swapRows(row, row - 1);
        selectRow(row - 1);
    }
    DirList->setFocus();
}

void OrganizerDialog::DownClick()
{
    const int row = selectedRow();
    if (row >= 0 && row < rowCount() - 1) {
        swapRows(row, row + 1);
        selectRow(row + 1);
    }
    DirList->setFocus();
}

void OrganizerDialog::AddClick()
{
    QString title, value;
    if (AskNewItem(m_prompter, m_newItem, m_newCaption, QStringLiteral("Name:"), m_valueLabel, title, value)) {
        if (const QString refused = refusalOf(value); !refused.isEmpty())
            m_prompter.message(refused, MessageIcon::Error);
        else
            addRow(title, value);
    }
    DirList->setFocus();
}

void OrganizerDialog::DeleteClick()
{
    const int row = selectedRow();
    if (row >= 0) {
        delete DirList->takeTopLevelItem(row);
        // The row that stood before it; none when the first went.
        selectRow(row - 1);
    }
    DirList->setFocus();
}

void OrganizerDialog::RenameClick()
{
    const int row = selectedRow();
    if (row >= 0) {
        if (const auto text = m_prompter.askText(QStringLiteral("Change title"), QStringLiteral("New title for menu entry:"), title(row)))
            DirList->topLevelItem(row)->setText(0, *text);
    }
    DirList->setFocus();
}

QString favoriteFolderRefusal(const QString &path)
{
    // A relative path would be taken from wherever the program happened to start.
    if (path == QLatin1String("fonts") || (path.startsWith(QLatin1Char('/')) && isDirectory(path)))
        return {};
    return QStringLiteral("The folder %1 does not exist.").arg(path.isEmpty() ? QStringLiteral("\"\"") : displayPath(path));
}

QString OrganizerDialog::refusalOf(const QString &) const
{
    return {};
}

QString TFormFavOrg::refusalOf(const QString &value) const
{
    return favoriteFolderRefusal(value);
}

TFormFavOrg::TFormFavOrg(Prompter &prompter, TFormNewItem &newItem, QWidget *parent)
    : OrganizerDialog(prompter, newItem, QStringLiteral("Organize Favorites"), QStringLiteral("Path"), QStringLiteral("New Favorite"),
                      QStringLiteral("Path:"), parent)
{
    setObjectName(QStringLiteral("TFormFavOrg"));
}

TFormLinksOrg::TFormLinksOrg(Prompter &prompter, TFormNewItem &newItem, QWidget *parent)
    : OrganizerDialog(prompter, newItem, QStringLiteral("Organize Links"), QStringLiteral("URL"), QStringLiteral("New Link"),
                      QStringLiteral("URL:"), parent)
{
    setObjectName(QStringLiteral("TFormLinksOrg"));
}
