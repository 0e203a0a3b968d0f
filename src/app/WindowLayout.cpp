// SPDX-License-Identifier: MIT
#include "WindowLayout.h"

#include "FolderBrowser.h"
#include "Paths.h"
#include "RegistryStore.h"
#include "Settings.h"
#include "TFormPreview.h"
#include "TextSample.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QSplitter>
#include <QToolButton>

namespace {

const QString kLeft = QStringLiteral("Window Left");
const QString kTop = QStringLiteral("Window Top");
const QString kSplitter = QStringLiteral("Splitter Position");
const QString kViewStyle = QStringLiteral("View Style");
const QString kTextStyle = QStringLiteral("Text Style");
const QString kAlignment = QStringLiteral("Text Alignment");

std::optional<int> readNumber(const RegistryStore &store, const QString &name, int lowest, int highest)
{
    const std::optional<RegValue> value = store.value(Settings::kKey, name);
    if (!value || value->type != RegType::DWord)
        return std::nullopt;
    const int number = static_cast<qint32>(value->dword);
    if (number < lowest || number > highest)
        return std::nullopt;
    return number;
}

void writeNumber(RegistryStore &store, const QString &name, const std::optional<int> &number)
{
    if (number)
        store.setValue(Settings::kKey, name, RegValue::dword32(static_cast<quint32>(*number)));
}

// Far beyond any real desktop, so that arithmetic on a position never overflows.
constexpr int kCoordinateLimit = 1 << 20;

}

WindowLayout readWindowLayout(const RegistryStore &store)
{
    WindowLayout layout;
    const std::optional<int> left = readNumber(store, kLeft, -kCoordinateLimit, kCoordinateLimit);
    const std::optional<int> top = readNumber(store, kTop, -kCoordinateLimit, kCoordinateLimit);
    if (left && top)
        layout.position = QPoint(*left, *top);
    layout.splitter = readNumber(store, kSplitter, 50, kCoordinateLimit);
    layout.viewStyle = readNumber(store, kViewStyle, 0, 3);
    layout.textStyle = readNumber(store, kTextStyle, 0, 15);
    layout.alignment = readNumber(store, kAlignment, 0, 2);
    return layout;
}

void writeWindowLayout(RegistryStore &store, const WindowLayout &layout)
{
    if (layout.position) {
        writeNumber(store, kLeft, layout.position->x());
        writeNumber(store, kTop, layout.position->y());
    }
    writeNumber(store, kSplitter, layout.splitter);
    writeNumber(store, kViewStyle, layout.viewStyle);
    writeNumber(store, kTextStyle, layout.textStyle);
    writeNumber(store, kAlignment, layout.alignment);
}

QPoint placeOnScreens(const QRect &frame, const QList<QRect> &screens)
{
    if (screens.isEmpty())
        return frame.topLeft();
    // The part a user grabs to move the window: its title bar, as far as it is wide.
    const QRect handle(frame.topLeft(), QSize(std::min(frame.width(), 200), 30));
    for (const QRect &screen : screens) {
        const QRect seen = screen.intersected(handle);
        if (seen.width() >= std::min(handle.width(), 100) && seen.height() >= 20)
            return frame.topLeft();
    }
    const QRect &primary = screens.first();
    QPoint place(primary.x() + (primary.width() - frame.width()) / 2, primary.y() + (primary.height() - frame.height()) / 2);
    place.setX(std::max(place.x(), primary.left()));
    place.setY(std::max(place.y(), primary.top()));
    return place;
}

WindowLayout windowLayoutOf(TFormPreview &form)
{
    TFormPreviewUi &c = form.ui();
    WindowLayout layout;
    layout.position = form.pos();
    const QList<int> sizes = c.MainSplitter->sizes();
    if (!sizes.isEmpty())
        layout.splitter = sizes.first();
    for (int i = 0; i < 4; ++i)
        if (c.ViewStyleButtons[static_cast<size_t>(i)]->isChecked())
            layout.viewStyle = i;
    layout.textStyle = (c.Bold1->isChecked() ? TextSample::Bold : 0) | (c.Italic1->isChecked() ? TextSample::Italic : 0)
                     | (c.Underline1->isChecked() ? TextSample::Underline : 0) | (c.StrikeOut1->isChecked() ? TextSample::StrikeOut : 0);
    layout.alignment = c.BtnCenter->isChecked() ? 1 : c.BtnRight->isChecked() ? 2 : 0;
    return layout;
}

void applyWindowLayout(TFormPreview &form, const WindowLayout &layout)
{
    TFormPreviewUi &c = form.ui();
    if (layout.position) {
        QList<QRect> screens;
        if (const QScreen *primary = QGuiApplication::primaryScreen())
            screens << primary->availableGeometry();
        for (const QScreen *screen : QGuiApplication::screens())
            screens << screen->availableGeometry();
        form.move(placeOnScreens(QRect(*layout.position, form.frameGeometry().size()), screens));
    }
    if (layout.splitter) {
        // Once the window being shown has its final size: the splitter would otherwise share out
        // the width it gains then, moving the stored position.
        auto restore = [&form, stored = *layout.splitter] {
            TFormPreviewUi &ui = form.ui();
            const QList<int> sizes = ui.MainSplitter->sizes();
            const int total = sizes.size() == 2 ? sizes[0] + sizes[1] : 0;
            const int left = total > 100 ? std::min(stored, total - 50) : stored;
            ui.MainSplitter->setSizes({left, std::max(50, total - left)});
            form.MainSplitterMoved(ui.MainSplitter->sizes().value(0));
        };
        restore();
        QMetaObject::invokeMethod(&form, restore, Qt::QueuedConnection);
    }
    if (layout.viewStyle) {
        c.ViewStyleButtons[static_cast<size_t>(*layout.viewStyle)]->setChecked(true);
        form.folderBrowser().setViewStyle(*layout.viewStyle);
    }
    if (layout.textStyle) {
        const std::tuple<QAction *, QAction *, TextSample::Style> styles[] = {{c.Bold1, c.BtnBold, TextSample::Bold},
                                                                              {c.Italic1, c.BtnItalic, TextSample::Italic},
                                                                              {c.Underline1, c.BtnUnderline, TextSample::Underline},
                                                                              {c.StrikeOut1, nullptr, TextSample::StrikeOut}};
        for (const auto &[item, button, style] : styles)
            if (item->isChecked() != bool(*layout.textStyle & style))
                form.textSample().toggleStyle(item, button, style);
    }
    if (layout.alignment) {
        QAction *buttons[] = {c.BtnLeft, c.BtnCenter, c.BtnRight};
        buttons[*layout.alignment]->setChecked(true);
        const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
        form.textSample().setAlignment(alignments[*layout.alignment]);
    }
}

QIcon applicationIcon()
{
    return QIcon::fromTheme(QStringLiteral("org.example.Glyvanta"), QIcon(bundledResource(QStringLiteral("desktop/org.example.Glyvanta.svg"))));
}
