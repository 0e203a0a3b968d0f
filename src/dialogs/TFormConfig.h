// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class Prompter;
struct ViewColors;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

// "Options": the sample text and its wrapping, the character map's cell and symbol panel, and
// the colours of both views. Its controls are where these options live during the run.
class TFormConfig : public QDialog {
    Q_OBJECT
public:
    TFormConfig(Prompter &prompter, ViewColors &colors, QWidget *parent = nullptr);

    // Shows both colours on the swatches and the sample box.
    void showColors();
    QStringList previewLines() const;
    void setPreviewLines(const QStringList &lines);

    void LoadTextClick();
    void SaveTextClick();
    void ClearClick();
    void TextColorChangeClick();
    void BackgroundColorChangeClick();

    QTabWidget *PageControlConfig;
    QWidget *TabSheetPreview;
    QWidget *TabSheetCharacters;
    QLabel *Label3;
    QPlainTextEdit *PrevText;
    QCheckBox *WrapText;
    QPushButton *LoadText;
    QPushButton *SaveText;
    QPushButton *Clear;
    QCheckBox *ShowCharPreview;
    QGroupBox *CharPrevOpt;
    QSpinBox *CellWidth;
    QSpinBox *CellHeight;
    QSpinBox *FontSize;
    QGroupBox *GroupCellPreview;
    QLabel *CellPreview;
    QGroupBox *Colors;
    QFrame *TextColorPreview;
    QPushButton *TextColorChange;
    QFrame *BackgroundColorPreview;
    QPushButton *BackgroundColorChange;
    QLabel *SampleText;
    QPushButton *OK;
    QPushButton *Cancel;

private:
    void buildPreviewPage();
    void buildCharactersPage();
    void buildColors();
    void updateCellPreview();

    Prompter &m_prompter;
    ViewColors &m_colors;
};
