#include "app/forms/OptionsForm.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QTabBar>
#include <QVBoxLayout>

#include "settings/Settings.h"

namespace orvel {

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QVBoxLayout* PageLayout(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(10);
    return layout;
}

template <class T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

QScrollBar* ScrollBar(const char* name, int min, int max, QWidget* parent) {
    auto* bar = Named(new QScrollBar(Qt::Horizontal, parent), name);
    bar->setRange(min, max);
    bar->setPageStep(kScrollLargeStep);
    bar->setMinimumWidth(260);
    return bar;
}

QCheckBox* WrappingCheckBox(const char* name, QWidget* parent) {
    auto* box = Named(new QCheckBox(parent), name);
    box->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    return box;
}

// A flag with magenta where the list's background shows through.
QIcon FlagIcon(const std::string& path) {
    QImage flag(Q(path));
    if (flag.isNull()) {
        flag = QImage(60, 40, QImage::Format_ARGB32);
        flag.fill(QColor(0x4a, 0x42, 0x3c));
    }
    QPixmap pix = QPixmap::fromImage(flag);
    pix.setMask(pix.createMaskFromColor(QColor(255, 0, 255)));
    // The chosen language keeps its true colours; the caption shows the choice.
    QIcon icon(pix);
    icon.addPixmap(pix, QIcon::Selected);
    return icon;
}

// Radios named names[i] in a column of grid, each with id i in a new group.
template <size_t N>
QButtonGroup* AddRadios(QObject* owner, QGroupBox* box, QGridLayout* grid,
                        std::array<QRadioButton*, N>& radios, const char* const (&names)[N]) {
    auto* group = new QButtonGroup(owner);
    for (size_t i = 0; i < N; ++i) {
        radios[i] = Named(new QRadioButton(box), names[i]);
        grid->addWidget(radios[i], static_cast<int>(i), 0);
        group->addButton(radios[i], static_cast<int>(i));
    }
    return group;
}

QPushButton* WoodSwatch(QWidget* parent) {
    auto* swatch = Named(new QPushButton(parent), "S_ViewWoodColor");
    swatch->setFixedSize(44, 18);
    // The radios keep their places while the swatch comes and goes.
    QSizePolicy keep = swatch->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    swatch->setSizePolicy(keep);
    return swatch;
}

// The buttons and check boxes that carry a text of the language file.
bool IsTextedButton(const std::string& name) {
    return name.rfind("CB_", 0) == 0 || name.rfind("RB_", 0) == 0 || name.rfind("B_", 0) == 0;
}

}  // namespace

TF_Options::TF_Options(TOptionsDialog& dialog, Platform& platform,
                       std::function<bool(TColorPicker&)> pickColor, QWidget* parent)
    : QDialog(parent), m_dialog(dialog), m_platform(platform), m_pickColor(std::move(pickColor)) {
    setObjectName("F_Options");
    setStyleSheet(DialogStyleSheet());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    PC_Pages = Named(new QTabWidget(this), "PC_Pages");
    // Every page's tab stays in sight: the dialog grows to the tabs' width.
    PC_Pages->tabBar()->setUsesScrollButtons(false);
    PC_Pages->addTab(CreateAutoSavePage(), "");
    PC_Pages->addTab(CreateSoundPage(), "");
    PC_Pages->addTab(CreatePlayPage(), "");
    PC_Pages->addTab(CreateVisualPage(), "");
    PC_Pages->addTab(CreateLangPage(), "");
    PC_Pages->addTab(CreateDnPage(), "");
    layout->addWidget(PC_Pages);
    layout->addWidget(CreateButtons());
    connect(PC_Pages, &QTabWidget::currentChanged, this,
            [this](int page) { m_dialog.ActivePage = static_cast<OptionsPage>(page); });
    m_dialog.TextsChanged = [this] { TakeTexts(); };
    m_dialog.PreviewChanged = [this] { ShowPreview(); };
    TakeTexts();
    ShowValues();
    PC_Pages->setCurrentIndex(static_cast<int>(m_dialog.ActivePage));
}

TF_Options::~TF_Options() {
    m_dialog.TextsChanged = nullptr;
    m_dialog.PreviewChanged = nullptr;
}

// ----------------------------------------------------------------- pages

QWidget* TF_Options::CreateAutoSavePage() {
    auto* page = Named(new QWidget, "TS_AutoSave");
    auto* layout = PageLayout(page);
    CB_AutoSave = WrappingCheckBox("CB_AutoSave", page);
    L_AutoInterval = Named(new QLabel(page), "L_AutoInterval");
    SB_AutoChange = ScrollBar("SB_AutoChange", kAutoIntervalMin, kAutoIntervalMax, page);
    layout->addWidget(CB_AutoSave);
    layout->addSpacing(8);
    layout->addWidget(L_AutoInterval);
    layout->addWidget(SB_AutoChange);
    layout->addStretch();
    connect(CB_AutoSave, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_showing) m_dialog.Values.AutoSave = on;
    });
    connect(SB_AutoChange, &QScrollBar::valueChanged, this, [this](int v) {
        if (!m_showing) m_dialog.Values.AutoInterval = v;
        L_AutoInterval->setText(Q(m_dialog.AutoIntervalText()));
    });
    return page;
}

QWidget* TF_Options::CreateSoundPage() {
    auto* page = Named(new QWidget, "TS_Sound");
    auto* layout = PageLayout(page);
    CB_SoundPlay = WrappingCheckBox("CB_SoundPlay", page);
    layout->addWidget(CB_SoundPlay);
    layout->addStretch();
    connect(CB_SoundPlay, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_showing) m_dialog.Values.Sound = on;
    });
    return page;
}

QWidget* TF_Options::CreatePlayPage() {
    auto* page = Named(new QWidget, "TS_Play");
    auto* layout = PageLayout(page);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    L_PlayModes = Named(new QLabel(page), "L_PlayModes");
    CB_PlayModes = Named(new QComboBox(page), "CB_PlayModes");
    L_PlayRotCW = Named(new QLabel(page), "L_PlayRotCW");
    L_PlayRotCCW = Named(new QLabel(page), "L_PlayRotCCW");
    L_PlayMoveOW = Named(new QLabel(page), "L_PlayMoveOW");
    CB_PlayRotCW = Named(new QComboBox(page), "CB_PlayRotCW");
    CB_PlayRotCCW = Named(new QComboBox(page), "CB_PlayRotCCW");
    CB_PlayMoveOW = Named(new QComboBox(page), "CB_PlayMoveOW");
    const std::array<std::pair<QLabel*, QComboBox*>, 4> rows = {{{L_PlayModes, CB_PlayModes},
                                                                 {L_PlayRotCW, CB_PlayRotCW},
                                                                 {L_PlayRotCCW, CB_PlayRotCCW},
                                                                 {L_PlayMoveOW, CB_PlayMoveOW}}};
    for (int r = 0; r < 4; ++r) {
        grid->addWidget(rows[r].first, r, 0);
        grid->addWidget(rows[r].second, r, 1);
        rows[r].second->setMinimumWidth(170);
    }
    grid->setColumnStretch(2, 1);
    CB_PlaySingleWin = WrappingCheckBox("CB_PlaySingleWin", page);
    CB_PlayClickToDrag = WrappingCheckBox("CB_PlayClickToDrag", page);
    L_StuckKoef = Named(new QLabel(page), "L_StuckKoef");
    SB_StuckKoef = ScrollBar("SB_StuckKoef", kStuckKoefMin, kStuckKoefMax, page);
    layout->addLayout(grid);
    layout->addWidget(CB_PlaySingleWin);
    layout->addWidget(CB_PlayClickToDrag);
    layout->addSpacing(6);
    layout->addWidget(L_StuckKoef);
    layout->addWidget(SB_StuckKoef);
    layout->addStretch();
    for (QComboBox* list : {CB_PlayRotCW, CB_PlayRotCCW, CB_PlayMoveOW})
        connect(list, &QComboBox::currentIndexChanged, this, [this] { PlayChanged(); });
    for (QCheckBox* box : {CB_PlaySingleWin, CB_PlayClickToDrag})
        connect(box, &QCheckBox::toggled, this, [this] { PlayChanged(); });
    connect(CB_PlayModes, &QComboBox::activated, this, [this](int scheme) {
        m_dialog.ChooseScheme(static_cast<PlayScheme>(scheme));
        ShowValues();
    });
    connect(SB_StuckKoef, &QScrollBar::valueChanged, this, [this](int v) {
        if (!m_showing) m_dialog.Values.StuckKoef = v;
        L_StuckKoef->setText(Q(m_dialog.StuckKoefText()));
    });
    return page;
}

QWidget* TF_Options::CreateVisualPage() {
    auto* page = Named(new QWidget, "TS_Visual");
    auto* layout = PageLayout(page);
    auto* row = new QHBoxLayout;
    auto* radios = new QVBoxLayout;
    GB_VisualEmboss = Named(new QGroupBox(page), "GB_VisualEmboss");
    GB_VisualWood = Named(new QGroupBox(page), "GB_VisualWood");
    auto* woodBox = new QGridLayout(GB_VisualWood);
    static const char* const embossNames[4] = {"RB_VisualEmboss0", "RB_VisualEmboss1",
                                               "RB_VisualEmboss2", "RB_VisualEmboss3"};
    static const char* const woodNames[3] = {"RB_VisualWood0", "RB_VisualWood1", "RB_VisualWood2"};
    auto* embossGroup = AddRadios(this, GB_VisualEmboss, new QGridLayout(GB_VisualEmboss),
                                  RB_VisualEmboss, embossNames);
    auto* woodGroup = AddRadios(this, GB_VisualWood, woodBox, RB_VisualWood, woodNames);
    S_ViewWoodColor = WoodSwatch(GB_VisualWood);
    woodBox->addWidget(S_ViewWoodColor, 1, 1);
    woodBox->setColumnStretch(2, 1);
    radios->addWidget(GB_VisualEmboss);
    radios->addWidget(GB_VisualWood);
    I_ViewEmboss = Named(new QLabel(page), "I_ViewEmboss");
    I_ViewEmboss->setFixedSize(kEffectPreviewW + 2, kEffectPreviewH + 2);
    I_ViewEmboss->setStyleSheet("border: 1px solid #6b5e55;");
    row->addLayout(radios, 1);
    row->addWidget(I_ViewEmboss, 0, Qt::AlignTop);
    CB_VisualShowJoin = WrappingCheckBox("CB_VisualShowJoin", page);
    layout->addLayout(row);
    layout->addWidget(CB_VisualShowJoin);
    layout->addStretch();
    connect(embossGroup, &QButtonGroup::idClicked, this, [this](int id) {
        m_dialog.Values.Emboss = id;
        ShowPreview();
    });
    connect(woodGroup, &QButtonGroup::idClicked, this, [this](int id) {
        m_dialog.Values.Wood = id;
        ShowPreview();
    });
    connect(S_ViewWoodColor, &QPushButton::clicked, this,
            [this] { m_dialog.PickWoodColor(m_pickColor); });
    connect(CB_VisualShowJoin, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_showing) m_dialog.Values.ShowJoin = on;
    });
    return page;
}

QWidget* TF_Options::CreateLangPage() {
    auto* page = Named(new QWidget, "TS_Lang");
    auto* layout = PageLayout(page);
    L_LangListCap = Named(new QLabel(page), "L_LangListCap");
    LV_LangList = Named(new QListWidget(page), "LV_LangList");
    LV_LangList->setIconSize(QSize(60, 40));
    LV_LangList->setViewMode(QListView::IconMode);
    LV_LangList->setResizeMode(QListView::Adjust);
    LV_LangList->setMovement(QListView::Static);
    LV_LangList->setGridSize(QSize(110, 74));
    LV_LangList->setWordWrap(true);
    L_LangName = Named(new QLabel(page), "L_LangName");
    QFont f = L_LangName->font();
    f.setBold(true);
    f.setPixelSize(15);
    L_LangName->setFont(f);
    L_LangAuthor = Named(new QLabel(page), "L_LangAuthor");
    L_LangNoHelp = Named(new QLabel(page), "L_LangNoHelp");
    L_LangNoHelp->setWordWrap(true);
    layout->addWidget(L_LangListCap);
    layout->addWidget(LV_LangList, 1);
    layout->addWidget(L_LangName);
    layout->addWidget(L_LangAuthor);
    layout->addWidget(L_LangNoHelp);
    connect(LV_LangList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_showing) m_dialog.SelectLanguage(row);
        ShowLanguageInfo(row);
    });
    return page;
}

QWidget* TF_Options::CreateDnPage() {
    auto* page = Named(new QWidget, "TS_Dn");
    auto* layout = PageLayout(page);
    L_DnSrcCap = Named(new QLabel(page), "L_DnSrcCap");
    CB_DnSrc = Named(new QComboBox(page), "CB_DnSrc");
    for (const char* host : kDownloadHosts) CB_DnSrc->addItem(host);
    CB_UseSecure = WrappingCheckBox("CB_UseSecure", page);
    L_SecureMethodCap = Named(new QLabel(page), "L_SecureMethodCap");
    CB_SecureMethod = Named(new QComboBox(page), "CB_SecureMethod");
    for (const char* name : kSecureMethodNames) CB_SecureMethod->addItem(name);
    L_SecureNote = Named(new QLabel(page), "L_SecureNote");
    L_SecureNote->setWordWrap(true);
    P_Test = Named(new QWidget(page), "P_Test");
    auto* test = new QFormLayout(P_Test);
    E_TestThumbPath = Named(new QLineEdit(P_Test), "E_TestThumbPath");
    E_TestSiteJigsawsDir = Named(new QLineEdit(P_Test), "E_TestSiteJigsawsDir");
    test->addRow("ThumbPath", E_TestThumbPath);
    test->addRow("SiteJigsawsDir", E_TestSiteJigsawsDir);
    P_Test->hide();
    for (QWidget* w : std::initializer_list<QWidget*>{L_DnSrcCap, CB_DnSrc, CB_UseSecure,
                                                      L_SecureMethodCap, CB_SecureMethod,
                                                      L_SecureNote, P_Test})
        layout->addWidget(w);
    layout->addStretch();
    connect(CB_DnSrc, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_showing) m_dialog.Values.DnSrc = i;
    });
    connect(CB_UseSecure, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_showing) m_dialog.Values.UseSecure = on;
        CB_SecureMethod->setEnabled(on);
        L_SecureMethodCap->setEnabled(on);
    });
    connect(CB_SecureMethod, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_showing) m_dialog.Values.SecureMethod = i;
    });
    return page;
}

QWidget* TF_Options::CreateButtons() {
    auto* panel = new QWidget(this);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 8, 0, 0);
    B_Help = Named(new QPushButton(panel), "B_Help");
    B_Ok = Named(new QPushButton(panel), "B_Ok");
    B_Ok->setDefault(true);
    B_Cancel = Named(new QPushButton(panel), "B_Cancel");
    row->addWidget(B_Help);
    row->addStretch();
    row->addWidget(B_Ok);
    row->addWidget(B_Cancel);
    connect(B_Help, &QPushButton::clicked, this, [this] { OpenHelp(); });
    connect(B_Ok, &QPushButton::clicked, this, [this] { OkClick(); });
    connect(B_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    return panel;
}

// ----------------------------------------------------------------- showing

void TF_Options::TakeTexts() {
    const bool was = m_showing;
    m_showing = true;
    setWindowTitle(Q(m_dialog.Text("FormCaption")));
    for (int i = 0; i < kOptionsPageCount; ++i)
        PC_Pages->setTabText(i, Q(m_dialog.Text(OptionsPageName(static_cast<OptionsPage>(i)))));
    for (QWidget* w : findChildren<QWidget*>()) {
        const std::string name = w->objectName().toStdString();
        if (auto* b = qobject_cast<QAbstractButton*>(w); b && IsTextedButton(name))
            b->setText(Q(m_dialog.Text(name)));
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            g->setTitle(Q(m_dialog.Text(name)));
        else if (auto* l = qobject_cast<QLabel*>(w);
                 l && name.rfind("L_", 0) == 0 && name.rfind("L_Lang", 0) != 0)
            l->setText(Q(m_dialog.Text(name)));
    }
    L_LangListCap->setText(Q(m_dialog.Text("L_LangListCap")));
    L_AutoInterval->setText(Q(m_dialog.AutoIntervalText()));
    L_StuckKoef->setText(Q(m_dialog.StuckKoefText()));
    CB_PlayModes->clear();
    for (int i = 0; i < 3; ++i)
        CB_PlayModes->addItem(Q(m_dialog.Text("CB_PlayModes" + std::to_string(i))));
    for (QComboBox* list : {CB_PlayRotCW, CB_PlayRotCCW, CB_PlayMoveOW}) {
        list->clear();
        for (int i = 0; i < kKeyChoiceCount; ++i)
            list->addItem(Q(m_dialog.Text("Key" + std::to_string(i))));
    }
    m_showing = was;
    if (!was) ShowValues();
}

void TF_Options::ShowValues() {
    m_showing = true;
    const TOptionsValues& v = m_dialog.Values;
    CB_AutoSave->setChecked(v.AutoSave);
    SB_AutoChange->setValue(v.AutoInterval);
    L_AutoInterval->setText(Q(m_dialog.AutoIntervalText()));
    CB_SoundPlay->setChecked(v.Sound);
    CB_PlayRotCW->setCurrentIndex(v.RotCW);
    CB_PlayRotCCW->setCurrentIndex(v.RotCCW);
    CB_PlayMoveOW->setCurrentIndex(v.MoveOW);
    CB_PlaySingleWin->setChecked(v.SingleWin);
    CB_PlayClickToDrag->setChecked(v.ClickToDrag);
    SB_StuckKoef->setValue(v.StuckKoef);
    L_StuckKoef->setText(Q(m_dialog.StuckKoefText()));
    RB_VisualEmboss[v.Emboss]->setChecked(true);
    RB_VisualWood[v.Wood]->setChecked(true);
    CB_VisualShowJoin->setChecked(v.ShowJoin);
    CB_DnSrc->setCurrentIndex(v.DnSrc);
    CB_UseSecure->setChecked(v.UseSecure);
    CB_SecureMethod->setCurrentIndex(v.SecureMethod);
    CB_SecureMethod->setEnabled(v.UseSecure);
    L_SecureMethodCap->setEnabled(v.UseSecure);
    E_TestThumbPath->setText(Q(v.ThumbPath));
    E_TestSiteJigsawsDir->setText(Q(v.SiteJigsawsDir));
    ShowLanguages();
    m_showing = false;
    ShowScheme();
    ShowPreview();
}

void TF_Options::ShowLanguages() {
    LV_LangList->clear();
    const auto& list = m_dialog.Languages();
    for (int i = 0; i < static_cast<int>(list.size()); ++i) {
        auto* item =
            new QListWidgetItem(FlagIcon(m_dialog.FlagPath(i)), Q(LangDisplayName(list[i])));
        item->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
        LV_LangList->addItem(item);
    }
    const int selected = m_dialog.SelectedLanguage();
    LV_LangList->setCurrentRow(selected);
    ShowLanguageInfo(selected);
}

void TF_Options::ShowLanguageInfo(int index) {
    const auto& list = m_dialog.Languages();
    const bool valid = index >= 0 && index < static_cast<int>(list.size());
    L_LangName->setText(valid ? Q(LangDisplayName(list[index])) : QString());
    L_LangAuthor->setText(valid ? Q(list[index].author) : QString());
    L_LangNoHelp->setText(valid ? Q(list[index].l_onlyinterface) : QString());
    L_LangNoHelp->setVisible(valid && !m_dialog.LanguageHasHelp(index));
}

void TF_Options::ShowScheme() {
    CB_PlayModes->setCurrentIndex(static_cast<int>(m_dialog.Scheme()));
    const bool sides = !m_dialog.Values.SingleWin;
    L_PlayMoveOW->setEnabled(sides);
    CB_PlayMoveOW->setEnabled(sides);
}

void TF_Options::ShowPreview() {
    TMyBitmap preview;
    if (m_dialog.DrawPreview(preview))
        I_ViewEmboss->setPixmap(QPixmap::fromImage(BitmapToQImage(preview)));
    const TColor c = m_dialog.Values.WoodColor;
    S_ViewWoodColor->setStyleSheet(
        QString("background: %1; border: 1px solid #f6ead7; min-width: 0; padding: 0;")
            .arg(QColor(ColorR(c), ColorG(c), ColorB(c)).name()));
    S_ViewWoodColor->setVisible(m_dialog.Values.Wood == 1);
}

// ----------------------------------------------------------------- changes

void TF_Options::PlayChanged() {
    if (m_showing) return;
    TOptionsValues& v = m_dialog.Values;
    v.RotCW = CB_PlayRotCW->currentIndex();
    v.RotCCW = CB_PlayRotCCW->currentIndex();
    v.MoveOW = CB_PlayMoveOW->currentIndex();
    v.SingleWin = CB_PlaySingleWin->isChecked();
    v.ClickToDrag = CB_PlayClickToDrag->isChecked();
    ShowScheme();
}

void TF_Options::OkClick() {
    m_dialog.Values.TestPanel = P_Test->isVisible();
    m_dialog.Values.ThumbPath = E_TestThumbPath->text().toStdString();
    m_dialog.Values.SiteJigsawsDir = E_TestSiteJigsawsDir->text().toStdString();
    if (m_dialog.Confirm()) {
        accept();
        return;
    }
    PC_Pages->setCurrentIndex(static_cast<int>(m_dialog.ActivePage));
}

void TF_Options::OpenHelp() {
    m_platform.OpenHelp(OptionsHelpPage(m_dialog.ActivePage));
}

void TF_Options::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        OpenHelp();
        return;
    }
    QDialog::keyPressEvent(event);
}

// Ctrl and Shift held on a press shows or hides the download test fields.
void TF_Options::mousePressEvent(QMouseEvent* event) {
    const auto both = Qt::ControlModifier | Qt::ShiftModifier;
    if ((event->modifiers() & both) == both) {
        P_Test->setVisible(!P_Test->isVisible());
        adjustSize();
        return;
    }
    QDialog::mousePressEvent(event);
}

}  // namespace orvel
