#include "app/forms/ColorPickerForm.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace orvel {

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QColor ToQColor(TColor c) {
    return QColor(ColorR(c), ColorG(c), ColorB(c));
}

QLabel* Caption(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

QLabel* Swatch(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFixedSize(48, 28);
    return label;
}

void Paint(QLabel* swatch, TColor c) {
    swatch->setStyleSheet(
        QString("border: 1px solid #f6ead7; background: %1;").arg(ToQColor(c).name()));
}

// The two gamma buttons show what they switch to: a small circle or square of hues.
QIcon GammaIcon(GammaStyle style) {
    TMyBitmap full;
    if (!DrawGamma(full, style, kDialogBackground)) return {};
    return QIcon(QPixmap::fromImage(
        BitmapToQImage(full).scaled(20, 20, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

}  // namespace

TF_ColorPicker::TF_ColorPicker(TColorPicker& picker, const TLanguage& lang,
                               const std::string& bkgPicsDir, QWidget* parent)
    : QDialog(parent), m_picker(picker) {
    setObjectName("F_ColorPicker");
    setStyleSheet(DialogStyleSheet());
    setWindowTitle(Q(picker.Caption));
    setMouseTracking(true);
    if (picker.ShowPictures) LoadPictureButtons(bkgPicsDir, m_buttons);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setSpacing(8);
    layout->addWidget(CreateColumns());
    layout->addWidget(CreateRows());
    layout->addWidget(CreateButtons());
    layout->setSizeConstraint(QLayout::SetFixedSize);
    ConnectPictures();
    TakeTexts(lang);
    ShowGamma();
    ShowChoice();
}

QWidget* TF_ColorPicker::CreateColumns() {
    auto* panel = new QWidget(this);
    panel->setMouseTracking(true);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(18);
    auto* left = new QVBoxLayout;
    L_PalCap = Caption("L_PalCap", panel);
    I_Palette = new TPictureBox("I_Palette", panel);
    L_SelColCap = Caption("L_SelColCap", panel);
    I_SelCol = Swatch("I_SelCol", panel);
    I_PointColor = Swatch("I_PointColor", panel);
    I_PointColor->hide();
    auto* swatches = new QHBoxLayout;
    swatches->addWidget(I_SelCol);
    swatches->addWidget(I_PointColor);
    swatches->addStretch();
    left->addWidget(L_PalCap);
    left->addWidget(I_Palette);
    left->addSpacing(10);
    left->addWidget(L_SelColCap);
    left->addLayout(swatches);
    left->addStretch();
    auto* right = new QVBoxLayout;
    auto* head = new QHBoxLayout;
    L_GammaCap = Caption("L_GammaCap", panel);
    B_GammaCircle = new QPushButton(GammaIcon(GammaStyle::Circle), "", panel);
    B_GammaCircle->setObjectName("B_GammaCircle");
    B_GammaSquare = new QPushButton(GammaIcon(GammaStyle::Square), "", panel);
    B_GammaSquare->setObjectName("B_GammaSquare");
    for (QPushButton* b : {B_GammaCircle, B_GammaSquare}) {
        b->setCheckable(true);
        b->setStyleSheet("min-width: 24px; padding: 3px;");
    }
    head->addWidget(L_GammaCap);
    head->addStretch();
    head->addWidget(B_GammaCircle);
    head->addWidget(B_GammaSquare);
    I_Gamma = new TPictureBox("I_Gamma", panel);
    right->addLayout(head);
    right->addWidget(I_Gamma);
    row->addLayout(left);
    row->addLayout(right);
    return panel;
}

QWidget* TF_ColorPicker::CreateRows() {
    auto* panel = new QWidget(this);
    auto* col = new QVBoxLayout(panel);
    col->setContentsMargins(0, 0, 0, 0);
    L_DefColCap = Caption("L_DefColCap", panel);
    I_DefCol = new TPictureBox("I_DefCol", panel);
    L_BkgPicsCap = Caption("L_BkgPicsCap", panel);
    I_BkgPics = new TPictureBox("I_BkgPics", panel);
    col->addWidget(L_DefColCap);
    col->addWidget(I_DefCol);
    col->addWidget(L_BkgPicsCap);
    col->addWidget(I_BkgPics);
    const bool suggestions = m_picker.SuggestedCount() > 0;
    L_DefColCap->setVisible(suggestions);
    I_DefCol->setVisible(suggestions);
    L_BkgPicsCap->setVisible(m_picker.ShowPictures);
    I_BkgPics->setVisible(m_picker.ShowPictures);
    return panel;
}

QWidget* TF_ColorPicker::CreateButtons() {
    auto* panel = new QWidget(this);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 6, 0, 0);
    row->addStretch();
    B_Ok = new QPushButton(panel);
    B_Ok->setObjectName("B_Ok");
    B_Ok->setDefault(true);
    B_Cancel = new QPushButton(panel);
    B_Cancel->setObjectName("B_Cancel");
    row->addWidget(B_Ok);
    row->addWidget(B_Cancel);
    connect(B_Ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(B_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    return panel;
}

void TF_ColorPicker::ConnectPictures() {
    I_Palette->Pressed = [this](int x, int y) {
        if (const int i = PaletteIndexAt(x, y); i >= 0)
            Choose(static_cast<int32_t>(PaletteColors()[i]));
    };
    I_Palette->DoubleClicked = [this](int, int) {
        if (m_picker.PaletteIndex() >= 0) accept();
    };
    I_Gamma->Pressed = [this](int x, int y) {
        if (x >= 0 && y >= 0 && x < m_gamma.Width && y < m_gamma.Height)
            Choose(GetPixel(m_gamma, x, y) & 0xFFFFFF);
    };
    I_Gamma->Moved = [this](int x, int y) { ShowPointColor(x, y); };
    I_DefCol->Pressed = [this](int x, int y) {
        if (const int i = SuggestedIndexAt(x, y, m_picker.SuggestedCount()); i >= 0)
            Choose(m_picker.Suggested[i]);
    };
    I_BkgPics->Pressed = [this](int x, int y) {
        if (const int i = PictureIndexAt(x, y); i >= 0) Choose(kFirstPictureCode + i);
    };
    I_BkgPics->DoubleClicked = [this](int, int) {
        if (m_picker.IsPicture()) accept();
    };
    auto hidePoint = [this](int, int) { I_PointColor->hide(); };
    I_Palette->Moved = hidePoint;
    I_DefCol->Moved = hidePoint;
    I_BkgPics->Moved = hidePoint;
    connect(B_GammaCircle, &QPushButton::clicked, this, [this] {
        m_picker.Style = GammaStyle::Circle;
        ShowGamma();
    });
    connect(B_GammaSquare, &QPushButton::clicked, this, [this] {
        m_picker.Style = GammaStyle::Square;
        ShowGamma();
    });
}

void TF_ColorPicker::TakeTexts(const TLanguage& lang) {
    B_Ok->setText(Q(lang.LookUp(LangSection::All, "B_Ok")));
    B_Cancel->setText(Q(lang.LookUp(LangSection::All, "B_Cancel")));
    for (QLabel* l : {L_PalCap, L_GammaCap, L_DefColCap, L_SelColCap, L_BkgPicsCap})
        l->setText(Q(lang.LookUp(LangSection::ColorPicker, l->objectName().toStdString())));
}

void TF_ColorPicker::Choose(int32_t value) {
    if (m_picker.Choose(value)) ShowChoice();
}

// The markings of every part follow the choice.
void TF_ColorPicker::ShowChoice() {
    TMyBitmap pic;
    if (m_picker.DrawPalette(pic, kDialogBackground)) I_Palette->SetPicture(BitmapToQImage(pic));
    if (m_picker.DrawSuggested(pic, kDialogBackground)) I_DefCol->SetPicture(BitmapToQImage(pic));
    if (m_picker.ShowPictures && m_picker.DrawPictures(pic, kDialogBackground, m_buttons))
        I_BkgPics->SetPicture(BitmapToQImage(pic));
    I_SelCol->setVisible(!m_picker.IsPicture());
    if (!m_picker.IsPicture()) Paint(I_SelCol, static_cast<TColor>(m_picker.Color));
    ShowGamma();
}

void TF_ColorPicker::ShowGamma() {
    B_GammaCircle->setChecked(m_picker.Style == GammaStyle::Circle);
    B_GammaSquare->setChecked(m_picker.Style == GammaStyle::Square);
    TMyBitmap marked;
    if (!DrawGamma(m_gamma, m_picker.Style, kDialogBackground)) return;
    if (m_picker.DrawMarkedGamma(marked, kDialogBackground))
        I_Gamma->SetPicture(BitmapToQImage(marked));
}

void TF_ColorPicker::ShowPointColor(int x, int y) {
    TColor c = kDialogBackground;
    const bool inside = m_picker.Style == GammaStyle::Square
                            ? (x >= 0 && y >= 0 && x < kGammaSize && y < kGammaSize)
                            : GammaCircleColor(x, y, c);
    if (inside && m_picker.Style == GammaStyle::Square) c = GammaSquareColor(x, y);
    I_PointColor->setVisible(inside);
    if (inside) Paint(I_PointColor, c);
}

void TF_ColorPicker::mouseMoveEvent(QMouseEvent* event) {
    I_PointColor->hide();
    QDialog::mouseMoveEvent(event);
}

}  // namespace orvel
