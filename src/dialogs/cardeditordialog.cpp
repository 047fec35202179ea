#include "dialogs/cardeditordialog.h"

#include "cards/cardboard.h"
#include "cards/cardwidget.h"
#include "cards/textplacing.h"
#include "dialogs/cardrules.h"
#include "dialogs/folderchooserdialog.h"
#include "document/changedetection.h"
#include "document/walldocument.h"
#include "document/wallsaver.h"
#include "model/cardcolors.h"
#include "model/wallmodes.h"
#include "pictures/picturelayer.h"
#include "pictures/thumbnails.h"
#include "platform/beep.h"
#include "platform/desktopcopy.h"
#include "storage/atomicfile.h"
#include "storage/htmlcopy.h"
#include "storage/pathforms.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The memos show text colour 6 a shade off white, so that it stays readable.
const QColor kNearWhite(240, 251, 255);

// The text colour buttons, left to right.
const int kTextButtonOrder[] = {1, 8, 7, 2, 3, 4, 5, 9, 6};

QPixmap swatch(const QColor& colour) {
    QPixmap p(14, 14);
    p.fill(colour);
    return p;
}

QString bareName(const QString& path) {
    return QFileInfo(path).fileName();
}

} // namespace

CardEditorDialog::CardEditorDialog(WallDocument& doc, WallModes& modes, CardBoard& board,
                                   WallSaver& saver, ChangeDetection& changes,
                                   FolderChooserDialog* folderChooser, QWidget* parent)
    : QDialog(parent), st(doc), modes_(modes), board_(board), saver_(saver), changes_(changes),
      TForm26(folderChooser) {
    setObjectName(QStringLiteral("TForm3"));
    setModal(true);
    buildFields();

    // The dialogs the editor asks through, unless a test answers instead.
    choosePicture = [this](const QString& startFolder) {
        QFileDialog dialog(this, QStringLiteral("画像"), startFolder,
                           QStringLiteral("画像 (*.jpeg *.jpg *.bmp);;すべて (*)"));
        // "画像無し" names no file: the dialog must let it through.
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.selectFile(QStringLiteral("画像無し"));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        const QString chosen = dialog.selectedFiles().first();
        return bareName(chosen) == QLatin1String("画像無し") ? bareName(chosen) : chosen;
    };
    chooseFiles = [this](const QString& startFolder) {
        return QFileDialog::getOpenFileNames(
            this, QStringLiteral("ファイルを表示"), startFolder,
            QStringLiteral("全て (*);;動画・画像 (*.avi *.wmv *.jpeg *.jpg *.bmp *.gif);;"
                           "LOGO (*.trx *.tr2 *.tra);;HTML (*.html);;pdf (*.pdf);;"
                           "パネル(TXT) (*.txt)"));
    };
    chooseBackgroundPictures = [this](const QString& startFolder) {
        return QFileDialog::getOpenFileNames(this, QStringLiteral("背景に表示"), startFolder,
                                             QStringLiteral("画像 (*.jpeg *.jpg *.bmp)"));
    };
}

QToolButton* CardEditorDialog::linkButton(const QString& caption, const QString& hint,
                                          const std::function<void()>& action) {
    auto* b = new QToolButton(this);
    b->setText(caption);
    b->setToolTip(hint);
    connect(b, &QToolButton::clicked, this, action);
    return b;
}

void CardEditorDialog::buildFields() {
    auto line = [this](const char* name, const QString& hint = QString()) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        e->setToolTip(hint);
        return e;
    };
    auto memo = [this](const char* name, const QString& hint) {
        auto* m = new QPlainTextEdit(this);
        m->setObjectName(QLatin1String(name));
        m->setToolTip(hint);
        m->setTabChangesFocus(true);
        return m;
    };
    auto tool = [this](const char* name, const QString& caption, const QString& hint) {
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setText(caption);
        b->setToolTip(hint);
        return b;
    };

    Edit3 = line("Edit3", QStringLiteral("この名前でtxtファイルが作られる"));
    Edit4 = line("Edit4");
    Edit5 = line("Edit5");
    Edit6 = line("Edit6");
    Edit7 = line("Edit7");
    Memo5 = memo("Memo5", QStringLiteral("カードの中の最初に表示"));
    Memo2 = memo("Memo2", QStringLiteral("カードに表示される文字"));
    QFont big = Memo2->font();
    big.setPointSize(20);
    Memo2->setFont(big);
    Memo5->setFont(big);
    Memo3 = memo("Memo3", QStringLiteral("左クリックすると数秒間表示されて消える文字カード"));
    Memo1 = memo("Memo1", QStringLiteral("マウスを乗せると表示されるヒント文字"));
    Edit2 =
        line("Edit2", QStringLiteral("左クリックで実行されるファイル名、あるいはリンクコマンド"));
    Edit8 = line("Edit8", QStringLiteral("カードに表示するNAIL画像名"));
    Edit1 = line("Edit1");
    Edit1->hide();
    CheckBox1 = new QCheckBox(QStringLiteral("スタンプ"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setToolTip(QStringLiteral("日付名のカードでコピーする"));
    CheckBox2 = new QCheckBox(QStringLiteral("ペロリ"), this);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox2->setToolTip(QStringLiteral("小さくしたカードをペロリともどす"));
    RadioButton1 = new QRadioButton(QStringLiteral("四角形"), this);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setToolTip(QStringLiteral("カードの外形を縁ありの 四角形にする"));
    RadioButton2 = new QRadioButton(QStringLiteral("だ円形"), this);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton2->setToolTip(QStringLiteral("カードの外形を縁なしの だ円形にする"));

    Panel6 = new QWidget(this);
    Panel6->setObjectName(QStringLiteral("Panel6"));
    Panel6->setAutoFillBackground(true);
    Panel6->setFixedSize(110, 90);
    Image1 = new QLabel(Panel6);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(2, 2, 106, 86);
    Image1->setScaledContents(true);

    SpeedButton1 =
        tool("SpeedButton1", QStringLiteral("画像"), QStringLiteral("カードに表示されるNAIL画像"));
    SpeedButton25 = tool("SpeedButton25", QStringLiteral("カード画"),
                         QStringLiteral("ファイルをNAIL画像にしてカードに表示"));
    SpeedButton34 = tool("SpeedButton34", QStringLiteral("ペースト"),
                         QStringLiteral("クリップボードをNAIL画像にしてカードに表示"));
    SpeedButton12 =
        tool("SpeedButton12", QStringLiteral("×"), QStringLiteral("NAIL画像表示の設定を無くす"));
    SpeedButton4 =
        tool("SpeedButton4", QStringLiteral("キャンセル"), QStringLiteral("キャンセルして閉じる"));
    saveButton = tool("saveButton", QStringLiteral("保存・ていあん"),
                      QStringLiteral("保存・ていあんして閉じる"));

    auto* cardColours = new QHBoxLayout;
    cardColours->setSpacing(1);
    for (int code = 1; code <= 19; ++code) {
        auto* b = tool(QStringLiteral("cardColour%1").arg(code).toLatin1().constData(), QString(),
                       QStringLiteral("ポスターの色"));
        b->setIcon(swatch(code == kTransparentCard ? QColor(128, 128, 128) : *cardColour(code)));
        connect(b, &QToolButton::clicked, this, [this, code] { setCardColour(code); });
        cardColours->addWidget(b);
    }
    auto* textColours = new QHBoxLayout;
    textColours->setSpacing(1);
    for (const int code : kTextButtonOrder) {
        auto* b = tool(QStringLiteral("textColour%1").arg(code).toLatin1().constData(), QString(),
                       QStringLiteral("文字１と文字２の色"));
        b->setIcon(swatch(*textColour(code)));
        connect(b, &QToolButton::clicked, this, [this, code] { setTextColour(code); });
        textColours->addWidget(b);
    }
    textColours->addStretch();

    // The link buttons write the link field, which stores the link at once.
    SpeedButton2 = linkButton(
        QStringLiteral("カード画名分岐"), QStringLiteral("カード画名のフォルダを作ってに分岐"),
        [this] {
            if (!QFileInfo(st.KIJUNDIR + Edit8->text()).isFile())
                return;
            Edit2->setText(QFileInfo(Edit8->text()).completeBaseName() + QLatin1Char('\\'));
            QMessageBox::information(this, QStringLiteral("Zavik"), QStringLiteral("ok"));
        });
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    auto* links = new QGridLayout;
    const QList<QToolButton*> linkRow{
        linkButton(QStringLiteral("カード名分岐"), QStringLiteral("カード名のフォルダを作って分岐"),
                   [this] { Edit2->setText(Edit3->text() + QLatin1Char('\\')); }),
        SpeedButton2,
        linkButton(QStringLiteral("フォルダ名分岐"), QStringLiteral("撰んだフォルダへ分岐"),
                   [this] {
                       Edit2->setText(TForm26->choose(Edit2->text(), st.KIJUNDIR, st.KIJUNDIRBAK));
                   }),
        linkButton(QStringLiteral("ファイルを表示"),
                   QStringLiteral("撰んだファイルを実行・表示するカードを作る"),
                   [this] { showFiles(); }),
        linkButton(QStringLiteral("背景に表示"),
                   QStringLiteral("撰んだ画像を_原画名と画像名でコピーして背景にする"),
                   [this] { showAsBackground(); }),
        linkButton(QStringLiteral("右拡大"), QStringLiteral("右へ10ドット拡大"),
                   [this] { Edit2->setText(QStringLiteral(">SW10")); }),
        linkButton(QStringLiteral("左拡大"), QStringLiteral("左に10ドット拡大"),
                   [this] { Edit2->setText(QStringLiteral(">Sw10")); }),
        linkButton(QStringLiteral("上拡大"), QStringLiteral("上に10ドット拡大"),
                   [this] { Edit2->setText(QStringLiteral(">SH10")); }),
        linkButton(QStringLiteral("下拡大"), QStringLiteral("下へ10ドット拡大"),
                   [this] { Edit2->setText(QStringLiteral(">Sh10")); })};
    for (int i = 0; i < linkRow.size(); ++i)
        links->addWidget(linkRow[i], i / 5, i % 5);

    auto caption = [this](const QString& text) { return new QLabel(text, this); };
    auto* grid = new QGridLayout;
    grid->addWidget(caption(QStringLiteral("カード名")), 0, 0);
    grid->addWidget(Edit3, 0, 1, 1, 3);
    grid->addWidget(caption(QStringLiteral("X位置")), 1, 0);
    grid->addWidget(Edit4, 1, 1);
    grid->addWidget(caption(QStringLiteral("Y位置")), 1, 2);
    grid->addWidget(Edit5, 1, 3);
    grid->addWidget(caption(QStringLiteral("幅")), 2, 0);
    grid->addWidget(Edit6, 2, 1);
    grid->addWidget(caption(QStringLiteral("縦")), 2, 2);
    grid->addWidget(Edit7, 2, 3);
    grid->addWidget(caption(QStringLiteral("カード色")), 3, 0);
    grid->addLayout(cardColours, 3, 1, 1, 3);
    grid->addWidget(caption(QStringLiteral("文字色")), 4, 0);
    grid->addLayout(textColours, 4, 1, 1, 3);
    auto* shapes = new QHBoxLayout;
    shapes->addWidget(RadioButton1);
    shapes->addWidget(RadioButton2);
    shapes->addWidget(CheckBox1);
    shapes->addWidget(CheckBox2);
    shapes->addStretch();
    grid->addLayout(shapes, 5, 0, 1, 4);
    grid->addWidget(caption(QStringLiteral("★○×")), 6, 0);
    grid->addWidget(Memo5, 6, 1, 1, 3);
    grid->addWidget(caption(QStringLiteral("文字")), 7, 0);
    grid->addWidget(Memo2, 7, 1, 1, 3);
    grid->addWidget(caption(QStringLiteral("フラッシュ文字")), 8, 0);
    grid->addWidget(Memo3, 8, 1, 1, 3);
    grid->addWidget(caption(QStringLiteral("ヒント")), 9, 0);
    grid->addWidget(Memo1, 9, 1, 1, 3);
    grid->addWidget(caption(QStringLiteral("リンク")), 10, 0);
    grid->addWidget(Edit2, 10, 1, 1, 3);
    grid->addLayout(links, 11, 0, 1, 4);
    Memo5->setFixedHeight(40);
    Memo2->setMinimumHeight(80);
    Memo3->setFixedHeight(44);
    Memo1->setFixedHeight(44);

    auto* pictureColumn = new QVBoxLayout;
    pictureColumn->addWidget(Panel6);
    pictureColumn->addWidget(Edit8);
    for (QToolButton* b : {SpeedButton1, SpeedButton25, SpeedButton34, SpeedButton12})
        pictureColumn->addWidget(b);
    pictureColumn->addStretch();
    pictureColumn->addWidget(saveButton);
    pictureColumn->addWidget(SpeedButton4);

    auto* whole = new QHBoxLayout(this);
    whole->addLayout(grid, 1);
    whole->addLayout(pictureColumn);
    resize(735, 472);

    // Field handlers: edits reach the card as they are made.
    connect(Memo2, &QPlainTextEdit::textChanged, this, [this] { HENKOU(); });
    connect(Memo5, &QPlainTextEdit::textChanged, this, [this] { HENKOU(); });
    connect(Edit2, &QLineEdit::textChanged, this, [this](const QString& link) {
        if (st.PBAN >= 0 && st.PBAN < st.count())
            st.setLink(st.PBAN, link);
    });
    connect(Edit3, &QLineEdit::textChanged, this, [this](const QString& name) {
        saveButton->setToolTip(QStringLiteral("「") + name + QStringLiteral(".txt」を保存"));
    });
    const QList<QLineEdit*> geometry{Edit4, Edit5, Edit6, Edit7};
    for (int i = 0; i < geometry.size(); ++i) {
        QLineEdit* field = geometry[i];
        connect(field, &QLineEdit::textEdited, this,
                [this, field, i] { geometryEdited(field, i); });
    }
    connect(Edit8, &QLineEdit::textChanged, this,
            [this](const QString& name) { SpeedButton2->setEnabled(!name.isEmpty()); });
    connect(RadioButton1, &QRadioButton::clicked, this, [this] { setShape(false); });
    connect(RadioButton2, &QRadioButton::clicked, this, [this] { setShape(true); });
    connect(CheckBox1, &QCheckBox::clicked, this, [this](bool on) {
        if (st.PBAN >= 0 && st.PBAN < st.count())
            st.setStampSwitch(st.PBAN, on ? 1 : 0);
    });
    connect(CheckBox2, &QCheckBox::clicked, this, [this](bool on) {
        if (st.PBAN >= 0 && st.PBAN < st.count())
            st.setCheckOff(st.PBAN, on ? CheckOff::Armed : CheckOff::None);
    });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { pictureFromFile(); });
    connect(SpeedButton25, &QToolButton::clicked, this, [this] { pictureFromFile(); });
    connect(SpeedButton34, &QToolButton::clicked, this, [this] { pictureFromClipboard(); });
    connect(SpeedButton12, &QToolButton::clicked, this, [this] { removeOrRestorePicture(); });
    connect(saveButton, &QToolButton::clicked, this, &CardEditorDialog::saveClicked);
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)}) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, &CardEditorDialog::saveClicked);
    }
    connect(SpeedButton4, &QToolButton::clicked, this, &CardEditorDialog::cancelClicked);

    // Tab goes through the fields as they stand, top to bottom.
    const QList<QWidget*> order{Edit3,        Edit4,        Edit5,     Edit6,     Edit7,
                                RadioButton1, RadioButton2, CheckBox1, CheckBox2, Memo5,
                                Memo2,        Memo3,        Memo1,     Edit2,     Edit8};
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void CardEditorDialog::openOn(int n, bool withMark) {
    if (modes_.BUSY || n < 0 || n >= board_.count() || !st.has(n))
        return;
    ChangeDetection::Pause pause(changes_);
    if (isVisible())
        close();
    st.PBAN = n;
    fill(n, withMark);
    prepare();
    placeBesideCard();
    exec();
    finishClosing();
}

void CardEditorDialog::placeBesideCard() {
    const QWidget* wall = parentWidget();
    const CardWidget* c = board_.card(st.PBAN);
    if (!wall || !c || !st.has(st.PBAN))
        return;
    // Until the window manager has framed the dialog once, allow for a
    // usual title bar and border.
    QSize frame = frameGeometry().size();
    if (frame == size())
        frame += QSize(8, 30);
    const QRect at = st.card(st.PBAN).rect;
    const QRect card(c->parentWidget()->mapToGlobal(at.topLeft()), at.size());
    const QRect wallOnScreen(wall->mapToGlobal(QPoint(0, 0)), wall->size());
    move(cardEditorPlace(wallOnScreen, frame, card));
}

void CardEditorDialog::fill(int n, bool withMark) {
    // The editor's own filling changes no card: only what the user types does.
    const QList<QObject*> fields{Memo1, Memo2, Memo3, Memo5, Edit2, Edit3, Edit8};
    std::vector<std::unique_ptr<QSignalBlocker>> quiet;
    for (QObject* f : fields)
        quiet.push_back(std::make_unique<QSignalBlocker>(f));
    const CardEntry& e = st.card(n);
    Memo1->setPlainText(e.S2);
    Edit2->setText(e.NOTE);
    Memo2->setPlainText(e.TT);
    Memo3->setPlainText(e.KFLG);
    if (withMark)
        Memo5->setPlainText(e.KSU);
    Edit4->setText(QString::number(e.rect.x()));
    Edit5->setText(QString::number(e.rect.y()));
    Edit6->setText(QString::number(e.rect.width()));
    Edit7->setText(QString::number(e.rect.height()));
    CheckBox1->setChecked(e.STP == 1);
    (!e.elliptic() ? RadioButton1 : RadioButton2)->setChecked(true);
}

void CardEditorDialog::prepare() {
    const int n = st.PBAN;
    const CardEntry& e = st.card(n);
    setWindowTitle(QDir::toNativeSeparators(st.KIJUNDIR + e.FNAME));
    PBANBK = n;
    saveRequested_ = false;

    const QList<QObject*> fields{Memo5, Edit3, Edit8};
    std::vector<std::unique_ptr<QSignalBlocker>> quiet;
    for (QObject* f : fields)
        quiet.push_back(std::make_unique<QSignalBlocker>(f));
    bak_ = Snapshot();
    bak_.checkOff = e.checkOff;
    bak_.mark = e.KSU;
    Memo5->setPlainText(e.KSU);
    CheckBox2->setChecked(e.checkOff == CheckOff::Armed || e.checkOff == CheckOff::Collapsed);
    bak_.collapsed = e.checkOff == CheckOff::Collapsed;
    if (bak_.collapsed) {
        // A collapsed card is edited at the size stored in its file.
        st.expandToStoredSize(n);
        Edit6->setText(QString::number(e.rect.width()));
        Edit7->setText(QString::number(e.rect.height()));
        board_.relayout(n);
    }
    bak_.stamp = e.STP;
    bak_.elliptic = RadioButton2->isChecked();
    bak_.picture = e.POST;
    Edit3->setText(QFileInfo(e.FNAME).completeBaseName());
    bak_.hint = e.S2;
    bak_.link = e.NOTE;
    bak_.text = e.TT;
    bak_.flash = e.KFLG;
    bak_.textColour = e.textColour;
    bak_.colour = e.colour;
    saveButton->setToolTip(QStringLiteral("「") + Edit3->text() + QStringLiteral(".txt」を保存"));

    // The picture as stored, kept unless the user changes it.
    openedPicture_ = e.POST;
    Edit8->setText(e.POST);
    Edit1->clear();
    SpeedButton2->setEnabled(!e.POST.isEmpty());
    showPicture(e.POST);
    const QString picture = ZETTAI(e.POST, st.KIJUNDIR, st.KIJUNDIRBAK);
    if (!e.POST.isEmpty())
        pictureFolder_ = QFileInfo(picture).absolutePath();

    previewColours();
    Memo2->setFocus();
}

void CardEditorDialog::previewColours() {
    if (!st.has(st.PBAN))
        return;
    const int code = st.card(st.PBAN).colour;
    const QColor fill =
        code == kTransparentCard ? QColor(128, 128, 128) : cardColour(code).value_or(Qt::white);
    QPalette panel = Panel6->palette();
    panel.setColor(QPalette::Window, fill);
    Panel6->setPalette(panel);
    const int text = st.card(st.PBAN).textColour;
    const QColor ink = text == 6 ? kNearWhite : textColour(text).value_or(Qt::black);
    for (QPlainTextEdit* m : {Memo2, Memo3}) {
        QPalette pal = m->palette();
        pal.setColor(QPalette::Base, fill);
        pal.setColor(QPalette::Text, ink);
        m->setPalette(pal);
    }
}

void CardEditorDialog::showPicture(const QString& name) {
    if (name.isEmpty()) {
        Image1->clear();
        return;
    }
    const QString thumb = thumbnailPath(name, st.KIJUNDIR);
    const QString picture = ZETTAI(name, st.KIJUNDIR, st.KIJUNDIRBAK);
    const QString shown = QFileInfo(thumb).isFile() ? thumb : picture;
    const QImage image = readPicture(shown, [](QSize) { return QSize(212, 172); }).image;
    Image1->setPixmap(QPixmap::fromImage(image));
}

int CardEditorDialog::memoLines() const {
    return std::max(
        1, countMemoLines(Memo2->toPlainText(), Memo2->viewport()->width(), Memo2->font()));
}

void CardEditorDialog::HENKOU() {
    // A memo breaks lines with LF; texts read from a wall file break them
    // with CR LF, and the card keeps that one form whichever way it came.
    const auto text = [](const QPlainTextEdit* memo) {
        return memo->toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    };
    st.setTexts(st.PBAN, text(Memo5), text(Memo2), text(Memo3), text(Memo1), Edit2->text());
    board_.HENKOU(st.PBAN, memoLines());
}

void CardEditorDialog::geometryEdited(QLineEdit* field, int which) {
    if (!st.has(st.PBAN))
        return;
    QRect g = st.card(st.PBAN).rect;
    const int values[] = {g.x(), g.y(), g.width(), g.height()};
    bool ok = false;
    const int v = field->text().toInt(&ok);
    if (!ok) {
        // Not a number: the card's own value comes back.
        field->setText(QString::number(values[which]));
        return;
    }
    switch (which) {
    case 0:
        g.moveLeft(v);
        break;
    case 1:
        g.moveTop(v);
        break;
    case 2:
        g.setWidth(v);
        break;
    default:
        g.setHeight(v);
        break;
    }
    st.setRect(st.PBAN, g);
}

void CardEditorDialog::setCardColour(int code) {
    st.setColour(st.PBAN, code);
    previewColours();
}

void CardEditorDialog::setTextColour(int code) {
    st.setTextColour(st.PBAN, code);
    previewColours();
}

void CardEditorDialog::setShape(bool elliptic) {
    (elliptic ? RadioButton2 : RadioButton1)->setChecked(true);
    st.setShape(st.PBAN, elliptic);
}

void CardEditorDialog::pictureFromFile() {
    const QString chosen = choosePicture(pictureFolder_.isEmpty() ? st.KIJUNDIR : pictureFolder_);
    if (chosen.isEmpty())
        return;
    const int n = st.PBAN;
    if (chosen == QLatin1String("画像無し")) {
        st.setPicture(n, QString());
        Edit8->clear();
        Image1->clear();
        setWindowTitle(QString());
        HENKOU();
        return;
    }
    if (!QFileInfo(chosen).isFile()) {
        st.setPicture(n, QString());
        Image1->clear();
        HENKOU();
        return;
    }
    const PictureRead read = readPicture(chosen, [](QSize) { return QSize(1, 1); });
    if (read.image.isNull()) {
        QMessageBox::warning(this, QStringLiteral("Zavik"),
                             QStringLiteral("「%1」は画像として読めません：%2")
                                 .arg(QDir::toNativeSeparators(chosen), read.error));
        return;
    }
    pictureFolder_ = QFileInfo(chosen).absolutePath();
    const QString name = bareName(chosen);
    const QString inWall = st.KIJUNDIR + name;
    // A picture of the wall folder is not copied onto itself, and its
    // untouched "_" copy is left as it is.
    QStringList copies;
    if (!sameFile(chosen, inWall))
        copies << inWall << st.KIJUNDIR + QLatin1Char('_') + name;
    if (isPlainFolderName(Edit3->text()))
        copies << st.KIJUNDIR + Edit3->text() + QLatin1Char('/') + name
               << st.KIJUNDIR + Edit3->text() + QStringLiteral("/_") + name;
    if (!mayReplace(copies))
        return;
    for (const QString& copy : copies) {
        QString why;
        if (!files_.copy(chosen, copy, &why) && copy == inWall) {
            notWritten(inWall, why);
            return;
        }
    }
    Edit8->setText(name);
    files_.write(thumbnailPath(name, st.KIJUNDIR),
                 [&](QString*) { return NAILIMAGELOADMAKE(inWall, st.KIJUNDIR); });
    st.setPicture(n, name);
    showPicture(name);
    setWindowTitle(name);
    SpeedButton2->setEnabled(true);
    HENKOU();
}

void CardEditorDialog::pictureFromClipboard() {
    const QImage pasted = QApplication::clipboard()->image();
    if (pasted.isNull())
        return;
    // Named after the card, as its file will be: a typed path cannot lead
    // the picture out of the wall.
    const QString cardName = QFileInfo(cardFileNameFor(Edit3->text())).completeBaseName();
    if (cardName.isEmpty()) {
        zavikBeep();
        return;
    }
    const QString name = cardName + QStringLiteral(".jpg");
    // The sub-folder the link names, when it is a plain folder of this wall;
    // else the card's own.
    const QString link = Edit2->text();
    const qsizetype cut = link.indexOf(QLatin1Char('\\'));
    QString folder = cut > 0 ? link.left(cut) : QString();
    if (!isPlainFolderName(folder))
        folder = Edit3->text();
    QStringList copies{st.KIJUNDIR + name};
    if (isPlainFolderName(folder))
        copies << st.KIJUNDIR + folder + QLatin1Char('/') + name
               << st.KIJUNDIR + folder + QStringLiteral("/_") + name;
    if (!mayReplace(copies))
        return;
    // The picture must land in the wall before the card names it.
    for (const QString& copy : copies) {
        QString why;
        if (!files_.write(
                copy, [&](QString* e) { return writePicture(pasted, copy, 100, e); }, &why) &&
            copy == copies.first()) {
            notWritten(copy, why);
            return;
        }
    }
    Image1->setPixmap(QPixmap::fromImage(pasted));
    Edit8->setText(name);
    const QString thumbnail = thumbnailPath(name, st.KIJUNDIR);
    files_.write(thumbnail, [&](QString* e) { return Makethumbnail(pasted, thumbnail, e); });
    HENKOU();
}

QString CardEditorDialog::ownPicture() const {
    const QString shown = ZETTAI(Edit8->text(), st.KIJUNDIR, st.KIJUNDIRBAK);
    return !Edit8->text().isEmpty() && sameFile(shown, st.KIJUNDIR + bareName(shown))
               ? bareName(shown)
               : QString();
}

bool CardEditorDialog::mayReplace(const QStringList& paths) {
    return files_.mayReplace(paths, ownPicture());
}

void CardEditorDialog::putFilesBack() {
    files_.putBack();
    // The picture the card had, from its files as they are again.
    if (st.has(PBANBK) && st.card(PBANBK).POST != bak_.picture)
        st.setPicture(PBANBK, bak_.picture);
}

void CardEditorDialog::notWritten(const QString& path, const QString& why) {
    QMessageBox::warning(this, QStringLiteral("Zavik"),
                         QStringLiteral("「%1」を書けませんでした%2。\nディスクの空きと書き込みの"
                                        "許可を確かめてください。")
                             .arg(QDir::toNativeSeparators(path),
                                  why.isEmpty() ? QString() : QStringLiteral("（%1）").arg(why)));
}

void CardEditorDialog::removeOrRestorePicture() {
    const int n = st.PBAN;
    if (!Edit8->text().isEmpty()) {
        Edit1->setText(Edit8->text());
        st.setPicture(n, QString());
        Edit8->clear();
        setWindowTitle(QString());
    } else if (Edit1->text().isEmpty()) {
        st.setPicture(n, QString());
        setWindowTitle(QString());
    } else {
        st.setPicture(n, Edit1->text());
        Edit8->setText(Edit1->text());
        setWindowTitle(Edit1->text());
    }
    showPicture(Edit8->text());
}

void CardEditorDialog::showFiles() {
    const QStringList chosen = chooseFiles(filesFolder_.isEmpty() ? st.KIJUNDIR : filesFolder_);
    if (chosen.isEmpty())
        return;
    filesFolder_ = QFileInfo(chosen.first()).absolutePath();
    QStringList names;
    for (const QString& file : chosen) {
        const QString name = bareName(file);
        const QString inWall = st.KIJUNDIR + name;
        if (QFileInfo(file).isFile() && !sameFile(file, inWall)) {
            // A file the wall has is replaced only when the user says so.
            if (!mayReplace({inWall}))
                continue;
            QString why;
            if (!files_.copy(file, inWall, &why)) {
                notWritten(inWall, why);
                continue;
            }
            const QString ext = QFileInfo(name).suffix();
            if (ext == QLatin1String("html") || ext == QLatin1String("HTML"))
                BACKUP(file, inWall, [this](const QString& path) {
                    // Only kept aside here: the copy is BACKUP's.
                    return mayReplace({path}) && files_.write(path, [](QString*) { return true; });
                });
        }
        names << name;
    }
    Edit2->setText(names.join(QLatin1Char('&')));
}

void CardEditorDialog::showAsBackground() {
    const QStringList chosen = chooseBackgroundPictures(pictureFolder_);
    QString last;
    for (const QString& file : chosen) {
        if (!QFileInfo(file).isFile())
            break;
        const QString name = bareName(file);
        if (!sameFile(file, st.KIJUNDIR + name)) {
            const QStringList copies{st.KIJUNDIR + name, st.KIJUNDIR + QLatin1Char('_') + name};
            if (!mayReplace(copies))
                continue;
            for (const QString& copy : copies)
                files_.copy(file, copy);
        }
        last = name;
    }
    if (!last.isEmpty())
        Edit2->setText(last + QStringLiteral(">BG"));
}

QString CardEditorDialog::typedFileName() const {
    // The name the card was opened with goes back to the card's own file,
    // whatever characters that file's name holds.
    const QString own = st.has(PBANBK) ? st.card(PBANBK).FNAME : QString();
    if (!own.isEmpty() && Edit3->text() == QFileInfo(own).completeBaseName())
        return own;
    return cardFileNameFor(Edit3->text());
}

QString CardEditorDialog::checkedFileName() {
    const QString name = typedFileName();
    if (name.isEmpty() || Edit3->text().trimmed().isEmpty()) {
        zavikBeep();
        if (!Edit3->text().isEmpty())
            QMessageBox::information(this, QStringLiteral("Zavik"),
                                     QStringLiteral("このカード名はファイルの名前にできません。"));
        return QString();
    }
    return name;
}

QString CardEditorDialog::renameQuestion(const QString& name) const {
    // Another card's name: that card would be rebuilt from this one and
    // written over; any other file of that name (notes, a card file that
    // could not be read) would be replaced.
    if (!st.has(PBANBK) || name == st.card(PBANBK).FNAME)
        return QString();
    if (st.lastIndexOfFile(name) >= 0)
        return QStringLiteral("カード「%1」がもうあります。このカードの内容で書きかえますか？")
            .arg(QFileInfo(name).completeBaseName());
    const QFileInfo file(st.KIJUNDIR + name);
    if (file.exists() || file.isSymLink())
        return QStringLiteral("このかべのフォルダに「%1」があります。このカードの内容で書きかえ"
                              "ますか？")
            .arg(name);
    return QString();
}

void CardEditorDialog::saveClicked() {
    const QString name = checkedFileName();
    if (name.isEmpty())
        return;
    const int n = st.PBAN;
    const QString question = renameQuestion(name);
    if (!question.isEmpty() &&
        QMessageBox::question(this, QStringLiteral("Zavik"), question) != QMessageBox::Yes)
        return;
    // A picture named from outside the wall is copied in at closing.
    const QString picture = ZETTAI(Edit8->text(), st.KIJUNDIR, st.KIJUNDIRBAK);
    const QString pictureInWall = st.KIJUNDIR + bareName(picture);
    if (Edit8->text() != openedPicture_ && QFileInfo(picture).isFile() &&
        !sameFile(picture, pictureInWall) && !mayReplace({pictureInWall}))
        return;
    saveRequested_ = true;
    // A branch link: its folder where the link interpreter will look for it.
    const QString link = Edit2->text();
    if (endsWithSeparator(link) && !link.startsWith(QLatin1Char('<')) &&
        !link.startsWith(QLatin1Char('>')) && !isWindowsDrivePath(link))
        QDir().mkpath(ZETTAI(link, st.KIJUNDIR, st.KIJUNDIRBAK));
    if (st.card(n).checkOff == CheckOff::LinkMoved)
        st.setCheckOff(n, CheckOff::None);
    accept();
}

void CardEditorDialog::cancelClicked() {
    // The files first: the card then shows its picture as it is again.
    putFilesBack();
    MODOSU(PBANBK);
    // A card opened collapsed goes back to its square.
    if (bak_.collapsed)
        st.collapse(PBANBK);
    saveRequested_ = false;
    reject();
}

void CardEditorDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        cancelClicked();
        return;
    }
    // Return alone closes nothing.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return;
    QDialog::keyPressEvent(event);
}

void CardEditorDialog::MODOSU(int n) {
    if (n < 0 || n >= board_.count() || !st.has(n))
        return;
    saveRequested_ = false;
    // The picture too, even when the card had none: what a picture button
    // brought in has gone again on a cancel.
    const bool there = QFileInfo(ZETTAI(bak_.picture, st.KIJUNDIR, st.KIJUNDIRBAK)).isFile();
    st.setPicture(n, there ? bak_.picture : QString());
    st.setShape(n, bak_.elliptic);
    st.setStampSwitch(n, bak_.stamp);
    st.setCheckOff(n, bak_.checkOff);
    st.setTextColour(n, bak_.textColour);
    st.setColour(n, bak_.colour);
    st.setTexts(n, bak_.mark, bak_.text, bak_.flash, bak_.hint, bak_.link);
    board_.HENKOU(n, memoLines());
    if (n == st.PBAN)
        refillFromSnapshot();
}

void CardEditorDialog::refillFromSnapshot() {
    const QList<QObject*> fields{Memo1, Memo2, Memo3, Memo5, Edit2};
    std::vector<std::unique_ptr<QSignalBlocker>> quiet;
    for (QObject* f : fields)
        quiet.push_back(std::make_unique<QSignalBlocker>(f));
    Memo1->setPlainText(bak_.hint);
    Edit2->setText(bak_.link);
    Memo5->setPlainText(bak_.mark);
    Memo2->setPlainText(bak_.text);
    Memo3->setPlainText(bak_.flash);
    CheckBox1->setChecked(bak_.stamp == 1);
    (bak_.elliptic ? RadioButton2 : RadioButton1)->setChecked(true);
    previewColours();
}

void CardEditorDialog::finishClosing() {
    Image1->clear();
    // Closed without saving (the close box as well): the wall folder as it
    // was when the editor opened.
    if (!saveRequested_) {
        putFilesBack();
        return;
    }
    saveRequested_ = false;
    files_.commit();
    int n = st.PBAN;
    if (n < 0 || n >= board_.count() || !st.has(n))
        return;
    // 1. The picture, unless it is the one the card had.
    if (Edit8->text() != openedPicture_) {
        const QString picture = ZETTAI(Edit8->text(), st.KIJUNDIR, st.KIJUNDIRBAK);
        if (!Edit8->text().isEmpty() && QFileInfo(picture).isFile()) {
            const QString name = bareName(picture);
            if (!sameFile(picture, st.KIJUNDIR + name))
                copyOver(picture, st.KIJUNDIR + name);
            NAILIMAGELOADMAKE(st.KIJUNDIR + name, st.KIJUNDIR);
            Edit8->setText(name);
            st.setPicture(n, name);
        } else {
            st.setPicture(n, QString());
        }
    }
    // 2. The texts.
    HENKOU();
    // A size typed below the floors is raised before anything is written.
    board_.CardSize();
    // 3, 4. The name; a new one makes a new card carrying the edits.
    const QString name = typedFileName();
    const CardEntry& e = st.card(n);
    if (!name.isEmpty() && name != e.FNAME) {
        CardEntry p;
        static_cast<PosterRecord&>(p) = e;
        p.rect = e.rect.translated(2, 2);
        p.colour = e.colour;
        p.textColour = e.textColour;
        p.shape = e.shape;
        p.FNAME = name;
        // Collapsing, when ticked, follows the save below.
        p.KAKUSU =
            CheckBox2->isChecked() ? QStringLiteral("0") : storedCheckOff(e.checkOff, e.KAKUSU);
        if (!st.PanelMake(1, p)) {
            QMessageBox::warning(
                this, QStringLiteral("Zavik"),
                QStringLiteral("このかべには%1枚までのカードしか置けません。別の名前のカードは"
                               "作れませんでした。")
                    .arg(WallDocument::kMaxCards));
            return;
        }
        // The card the editor opened on goes back to what it was.
        MODOSU(PBANBK);
        n = st.PBAN;
    }
    // 5, 6. Written with a fresh stamp, full size; collapsed afterwards when
    // ticked, as the card menu's save does.
    const bool collapse = CheckBox2->isChecked();
    if (collapse)
        st.setCheckOff(n, CheckOff::Armed);
    saver_.PANELSAVE(n, 2);
    if (collapse)
        st.collapse(n);
}
