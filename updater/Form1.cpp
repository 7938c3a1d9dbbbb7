#include "Form1.h"

#include "Plattform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QNetworkDatagram>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cstring>

namespace Loadmate {

using namespace Internet;

namespace {

const QString Suche_starten_text = QStringLiteral("nach verfügbaren Geräten suchen");
const QString Suche_abbrechen_text = QStringLiteral("Suche abbrechen");
const QString Weiter_text = QStringLiteral("Weiter >");

QHostAddress Suchziel()
{
    const QString a = qEnvironmentVariable("KESTRIX_DISCOVERY_ADDR");
    QHostAddress adresse(a.isEmpty() ? QStringLiteral("255.255.255.255") : a);
    return adresse.isNull() ? QHostAddress(QHostAddress::Broadcast) : adresse;
}

quint16 Suchport()
{
    bool ok = false;
    const uint p = qEnvironmentVariable("KESTRIX_DISCOVERY_PORT").toUInt(&ok);
    return ok && p > 0 && p < 65536 ? quint16(p) : quint16(8001);
}

// Hourglass for as long as it lives.
struct Sanduhr {
    Sanduhr() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Sanduhr() { QApplication::restoreOverrideCursor(); }
};

QPixmap Bild()
{
    // A measuring box with an arrow into it: the wizard carries no files.
    QPixmap p(Pixel(960), Pixel(960));
    p.fill(Qt::transparent);
    QPainter m(&p);
    m.setRenderHint(QPainter::Antialiasing);
    m.setPen(QPen(QColor(40, 40, 40), 1.5));
    m.setBrush(QColor(70, 110, 170));
    m.drawRoundedRect(QRectF(6, 26, 52, 32), 3, 3);
    m.setBrush(QColor(30, 30, 30));
    for (int i = 0; i < 4; ++i)
        m.drawRect(QRectF(11 + i * 7, 48, 4, 5));
    m.setPen(Qt::white);
    QFont f = m.font();
    f.setBold(true);
    f.setPixelSize(11);
    m.setFont(f);
    m.drawText(QRectF(34, 28, 22, 16), Qt::AlignCenter, QStringLiteral("Q7"));
    QPainterPath pfeil;
    pfeil.moveTo(26, 2);
    pfeil.lineTo(38, 2);
    pfeil.lineTo(38, 12);
    pfeil.lineTo(44, 12);
    pfeil.lineTo(32, 24);
    pfeil.lineTo(20, 12);
    pfeil.lineTo(26, 12);
    pfeil.closeSubpath();
    m.setPen(QPen(QColor(20, 90, 20), 1));
    m.setBrush(QColor(60, 170, 60));
    m.drawPath(pfeil);
    return p;
}

} // namespace

void Beschriftung::Caption_setzen(const QString &caption)
{
    caption_ = caption;
    QString anzeige = caption;
    anzeige.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    anzeige.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    setText(anzeige);
}

Form1::Form1(QWidget *eltern) : QWidget(eltern)
{
    Programmende = [this] {
        close();
        QCoreApplication::quit();
    };
    Form_Load();
}

Form1::~Form1()
{
    Timer1.stop();
    Winsock1.reset();
    if (FTPVerbindung)
        InternetCloseHandle(FTPVerbindung);
    if (Internetzugang)
        InternetCloseHandle(Internetzugang);
}

void Form1::Form_Load()
{
    setWindowTitle(QStringLiteral("Orvamet Kestrix Q7-Update Wizard"));
    setFixedSize(Pixel(4095), Pixel(3660));

    Label3.setText(QStringLiteral("Schritt"));
    Label3.setGeometry(Twips(120, 90, 900, 240));
    Label4.setText(QStringLiteral("1"));
    Label4.setGeometry(Twips(960, 90, 450, 240));
    QFont fett = Label4.font();
    fett.setBold(true);
    Label3.setFont(fett);
    Label4.setFont(fett);

    Image1.setGeometry(Twips(120, 450, 960, 960));
    Image1.setPixmap(Bild());
    Label1.setGeometry(Twips(1200, 450, 2760, 1800));
    Label1.setWordWrap(true);
    Label1.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1.setText(QStringLiteral(
        "Dieses Programm dient zum Laden von aktualisierten Treibern für das Kestrix Q7-System."));

    // The frames lie over the introduction and must hide it.
    Frame5.setAutoFillBackground(true);
    Frame1.setAutoFillBackground(true);
    Frame5.setTitle(QStringLiteral("Bitte Gerät aus Liste auswählen"));
    Frame5.setGeometry(Twips(60, 360, 3975, 2760));
    List2.setGeometry(Twips(120, 300, 3735, 1800));
    Command9.setGeometry(Twips(120, 2220, 3735, 390));
    Command9.setText(Suche_starten_text);
    Frame5.hide();

    Frame1.setGeometry(Twips(60, 360, 3975, 2760));
    Label2.setGeometry(Twips(90, 240, 3795, 480));
    Label2.setWordWrap(true);
    Label2.setText(QStringLiteral(
        "Übertrage kestrix.exe. Falls gestartet, bitte Messprogramm KESTRIX beenden!"));
    Statuszeile.setGeometry(Twips(90, 750, 3795, 480));
    Statuszeile.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Statuszeile.setWordWrap(true);
    Antwortzeile.setGeometry(Twips(90, 1245, 3795, 255));
    Text1.setGeometry(Twips(90, 1530, 900, 330));
    Text1.setText(QStringLiteral("*.*"));
    Command5.setGeometry(Twips(1065, 1530, 1305, 330));
    Command5.setText(QStringLiteral("Connect"));
    Command1.setGeometry(Twips(2445, 1530, 1440, 330));
    Command1.setText(QStringLiteral("Disconnect"));
    List1.setGeometry(Twips(90, 1920, 3795, 795));
    Frame1.hide();

    Command3.setGeometry(Twips(1500, 3210, 1200, 360));
    Command3.setText(QStringLiteral("< Zurück"));
    Command3.hide();
    Command2.setGeometry(Twips(2790, 3210, 1200, 360));
    Command2.setText(Weiter_text);

    // One tick at a time: the tick re-arms the timer when it is done, so a
    // tick that waits is never entered a second time.
    Timer1.setSingleShot(true);
    connect(&Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    connect(&Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(&Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(&Command9, &QPushButton::clicked, this, [this] { Command9_Click(); });
    connect(&Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    connect(&Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    // Only a click chooses a box: the list's focus makes its first entry
    // current, and that must not pick the box to be updated.
    connect(&List2, &QListWidget::itemClicked, this, [this](QListWidgetItem *eintrag) { List2_Click(List2.row(eintrag)); });
}

int Form1::Schritt() const { return Label4.text().toInt(); }

bool Form1::Suche_läuft() const { return Command9.text() == Suche_abbrechen_text; }

void Form1::Suche_anhalten()
{
    // Only a running search is stopped: a click on the button would start a
    // stopped one again.
    if (Suche_läuft())
        Command9_Click();
}

// ---- steps ----

void Form1::Command2_Click()
{
    if (update_läuft_)
        return;
    int schritt = Schritt();
    if (schritt < 5)
        ++schritt;
    Label4.setText(QString::number(schritt));
    switch (schritt) {
    case 2:
        Command3.show();
        Frame5.show();
        Frame5.raise();
        if (!Suche_läuft())
            Command9_Click();
        Command2.setEnabled(false);
        break;
    case 3:
        // Decided by the button, not by Suche_beendet: the operator may have
        // stopped or restarted the search by hand.
        Suche_anhalten();
        Suche_beendet = 1;
        Command5_Click();
        Frame5.hide();
        Frame1.show();
        Frame1.raise();
        Command2.setText(QStringLiteral("Update"));
        break;
    case 4:
        Update_durchführen();
        break;
    case 5:
        Command1_Click();
        Ereignisse_verarbeiten();
        Programmende();
        break;
    default:
        break;
    }
}

void Form1::Command3_Click()
{
    int schritt = Schritt();
    if (schritt > 1)
        --schritt;
    Label4.setText(QString::number(schritt));
    switch (schritt) {
    case 1:
        Command2.setEnabled(true);
        Frame5.hide();
        Suche_anhalten();
        Frame1.hide();
        Command3.hide();
        Suche_beendet = 0;
        break;
    case 2:
        Command1_Click();
        Frame1.hide();
        Frame5.show();
        Frame5.raise();
        Command2.setText(Weiter_text);
        break;
    case 3:
        Command2.setText(Weiter_text);
        break;
    default:
        break;
    }
}

void Form1::Update_durchführen()
{
    // A second click on "Update" while files are moving would end the
    // program half-way through.
    update_läuft_ = true;
    Command2.setEnabled(false);
    Updatefehler = 0;
    Command3.hide();

    Statuszeile.Caption_setzen(QStringLiteral("Übertrage Datei ") + QStringLiteral("Kestrix"));
    Ereignisse_verarbeiten();
    const QString neu = Programmdatei(QStringLiteral("Kestrix_"));
    QString grund;
    if (!Datei_sicher_ersetzen(neu, Programmdatei(QStringLiteral("Kestrix")), &grund)) {
        const QString text = QStringLiteral("Fehler beim Kopieren der Datei: ") + neu;
        Statuszeile.Caption_setzen(text);
        meldungen().Meldung(this, text + QLatin1Char('\r') + grund);
        Updatefehler = 1;
    }

    Statuszeile.Caption_setzen(QStringLiteral("Übertrage Datei ") + QStringLiteral("autoex_.bat"));
    Datei_hochladen(Programmdatei(QStringLiteral("autoex_.bat")), QStringLiteral("autoexec.bat"));
    Ereignisse_verarbeiten();

    Statuszeile.Caption_setzen(QStringLiteral("Übertrage Datei ") + QStringLiteral("q7rev_.exe"));
    Datei_hochladen(Programmdatei(QStringLiteral("q7rev_.exe")), QStringLiteral("q7rev102.exe"));
    Ereignisse_verarbeiten();

    Statuszeile.Caption_setzen(QString());
    Datei_löschen(QStringLiteral("chiptel.ini"));
    Datei_löschen(QStringLiteral("chipcom.ini"));

    if (Updatefehler == 1)
        Statuszeile.Caption_setzen(QStringLiteral("Beim Update sind Fehler aufgetreten"));
    else
        Statuszeile.Caption_setzen(QStringLiteral("Update erfolgreich durchgeführt. ") + QChar(13)
                                   + QStringLiteral("Bitte Gerät aus- und wieder einschalten"));
    Command2.setText(QStringLiteral("Beenden"));
    Command2.setEnabled(true);
    Command2.setFocus(); // disabling it had moved the focus away
    update_läuft_ = false;
}

// ---- FTP ----

void Form1::Datei_hochladen(const QString &lokale_datei, const QString &ferner_name)
{
    if (ferner_name.isEmpty())
        return;
    bool ok;
    {
        Sanduhr sanduhr;
        ok = FtpPutFile(FTPVerbindung, lokale_datei, ferner_name, Übertragungsart, 0);
        Antwort_anzeigen();
    }
    if (!ok) {
        meldungen().Meldung(this, QStringLiteral("Fehler bei Übertragung der Datei: ") + lokale_datei);
        Updatefehler = 1;
    }
}

void Form1::Datei_löschen(const QString &ferner_name)
{
    {
        Sanduhr sanduhr;
        FtpDeleteFile(FTPVerbindung, ferner_name); // a file the box lacks is no error
    }
    FTPListe_anzeigen();
}

void Form1::Antwort_anzeigen()
{
    std::uint32_t code = 0;
    QString text;
    InternetGetLastResponseInfo(&code, &text);
    Antwortzeile.Caption_setzen(code != 0 ? QString::number(code) + QLatin1Char(' ') + text
                                          : QStringLiteral("Ok"));
}

void Form1::Command5_Click()
{
    Sanduhr sanduhr;
    // A second Connect must not leave the first connection open.
    if (FTPVerbindung)
        InternetCloseHandle(FTPVerbindung);
    if (Internetzugang)
        InternetCloseHandle(Internetzugang);
    FTPVerbindung = 0;
    Internetzugang = InternetOpen(QStringLiteral("FTP Demo"), INTERNET_OPEN_TYPE_DIRECT, QString(),
                                  QString(), 0);
    if (Internetzugang != 0) {
        FTPVerbindung = InternetConnect(Internetzugang, Boxadresse, INTERNET_DEFAULT_PORT,
                                        QStringLiteral("ftp"), QStringLiteral("wbn"),
                                        INTERNET_SERVICE_FTP, INTERNET_FLAG_PASSIVE, 0);
        if (FTPVerbindung == 0) {
            // Both handles stay 0 after a refused log-on.
            InternetCloseHandle(Internetzugang);
            Internetzugang = 0;
        }
    }
    Antwort_anzeigen();
    if (FTPVerbindung != 0)
        Verzeichnis_auflisten(Text1.text());
}

void Form1::Command1_Click()
{
    if (FTPVerbindung == 0)
        return;
    InternetCloseHandle(FTPVerbindung);
    InternetCloseHandle(Internetzugang);
    Antwort_anzeigen();
    FTPVerbindung = 0;
    Internetzugang = 0;
    List1.clear();
}

QString Form1::Eintragsname(const Verzeichniseintrag &e)
{
    const auto ende = std::find(e.cFileName.begin(), e.cFileName.end(), '\0');
    return Ansi_nach_Unicode(QByteArray(e.cFileName.data(), ende - e.cFileName.begin())).trimmed();
}

void Form1::Verzeichnis_auflisten(const QString &muster)
{
    FTPListe.clear();
    if (muster.isEmpty())
        return;
    {
        Sanduhr sanduhr;
        Verzeichniseintrag e;
        const Handle suche = FtpFindFirstFile(FTPVerbindung, muster.trimmed(), &e, 0, 0);
        if (suche != 0) {
            do {
                if (!Eintragsname(e).isEmpty())
                    FTPListe.append(e);
            } while (InternetFindNextFile(suche, &e));
            InternetCloseHandle(suche);
        }
        Antwort_anzeigen();
    }
    if (FTPListe.isEmpty() || !Eintragsname(FTPListe.first()).startsWith(QLatin1Char('.'))) {
        for (const char *name : {".", ".."}) {
            Verzeichniseintrag e;
            e.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
            std::copy_n(name, std::strlen(name), e.cFileName.begin());
            FTPListe.append(e);
        }
    }
    FTPListe_anzeigen();
}

void Form1::FTPListe_anzeigen()
{
    QStringList verzeichnisse, dateien;
    for (const auto &e : FTPListe)
        (e.dwFileAttributes == FILE_ATTRIBUTE_DIRECTORY ? verzeichnisse : dateien).append(Eintragsname(e));
    // Stable, so equal names keep their order as the neighbour exchange does.
    auto klein = [](const QString &a, const QString &b) { return a.toLower() < b.toLower(); };
    std::stable_sort(verzeichnisse.begin(), verzeichnisse.end(), klein);
    std::stable_sort(dateien.begin(), dateien.end(), klein);
    List1.clear();
    for (const QString &v : verzeichnisse)
        List1.addItem(v.toUpper());
    for (const QString &d : dateien)
        List1.addItem(d.toLower());
}

// ---- box search ----

void Form1::Command9_Click()
{
    if (!Suche_läuft()) {
        Boxadresse.clear();
        List2.clear();
        for (auto &g : Geräteliste)
            g = Gerät{};
        Gelistet = 0;
        Geräteanzahl = 0;
        Suchzähler = 0;
        Command9.setText(Suche_abbrechen_text);
        // The chosen box is gone with the list.
        if (Schritt() == 2)
            Command2.setEnabled(false);
        Timer1.start(1);
    } else {
        Command9.setText(Suche_starten_text);
        Timer1.stop();
    }
}

void Form1::List2_Click(int zeile)
{
    if (zeile < 0 || zeile >= int(Geräteliste.size()) || zeile >= Gelistet)
        return;
    Boxadresse = Geräteliste[size_t(zeile)].IPAdresse;
    Command2.setEnabled(true);
}

void Form1::Winsock1_anlegen()
{
    Winsock1 = std::make_unique<QUdpSocket>();
    QObject::connect(Winsock1.get(), &QUdpSocket::readyRead, this, [this] { Winsock1_DataArrival(); });
}

void Form1::Timer1_Timer()
{
    if (tick_läuft_)
        return;
    tick_läuft_ = true;
    Suchpuffer.clear();

    Winsock1_anlegen();
    const quint16 port = Suchport();
    int fehler = 0;
    bool gebunden = false;
    // A failed bind is retried after 0.05 s; at the fifth failure the socket is
    // made anew, at the tenth the tick gives up.
    while (!(gebunden = Winsock1->bind(QHostAddress::AnyIPv4, port,
                                       QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint))) {
        ++fehler;
        warten().Sekunden(0.05);
        if (fehler >= 10)
            break;
        if (fehler == 5) {
            Winsock1.reset();
            warten().Sekunden(0.05);
            Winsock1_anlegen();
        }
    }

    if (gebunden) {
        // A failed send is ignored: the next tick tries again.
        Winsock1->writeDatagram(QByteArray("0 1 ", 4), Suchziel(), port);
        warten().Sekunden(Suchzähler + 0.5);
        ++Suchzähler;
        if (Suchzähler > 10)
            Suchzähler = 0;
        Suchpuffer_auswerten();
        for (int i = Gelistet; i < int(Geräteliste.size()); ++i) {
            const Gerät &g = Geräteliste[size_t(i)];
            if (g.Seriennummer.isEmpty())
                break;
            List2.addItem(g.IPAdresse + QStringLiteral("    ") + g.Seriennummer);
            ++Gelistet;
        }
    }

    Winsock1.reset();
    tick_läuft_ = false;
    if (Suche_läuft())
        Timer1.start(1000);
}

void Form1::Winsock1_DataArrival()
{
    if (!Winsock1)
        return;
    while (Winsock1->hasPendingDatagrams()) {
        const QNetworkDatagram d = Winsock1->receiveDatagram();
        Suchpuffer += Ansi_nach_Unicode(d.data()) + QChar(13);
    }
}

void Form1::Suchpuffer_auswerten()
{
    const QChar blank(QLatin1Char(' ')), cr(13);
    // Each pass takes one reply off the front. A reply without the expected
    // fields is dropped up to its carriage return, so that neither the buffer's
    // end nor the next reply is read as part of it.
    while (!Suchpuffer.isEmpty() && Suchpuffer.contains(QLatin1Char('.'))) {
        const qsizetype d = Suchpuffer.indexOf(QLatin1Char('.')); // 0-based
        auto verwerfen = [&](qsizetype ab) {
            const qsizetype ende = Suchpuffer.indexOf(cr, ab);
            Suchpuffer = ende < 0 ? QString() : Suchpuffer.mid(ende + 1);
        };

        QString erste;
        for (qsizetype i = d - 3; i < d; ++i)
            erste += (i < 0 || Suchpuffer[i] == blank) ? QChar(QLatin1Char('0')) : Suchpuffer[i];
        if (erste.startsWith(QLatin1Char('0')))
            erste = erste.right(2);
        if (erste.startsWith(QLatin1Char('0')))
            erste = erste.right(1);

        qsizetype p = d;
        while (p < Suchpuffer.size() && Suchpuffer[p] != blank && Suchpuffer[p] != cr)
            ++p;
        if (p >= Suchpuffer.size() || Suchpuffer[p] == cr) {
            verwerfen(d);
            continue;
        }
        const QString adresse = erste + Suchpuffer.mid(d, p - d);

        bool vollständig = true;
        for (int feld = 0; feld < 3 && vollständig; ++feld) {
            while (p < Suchpuffer.size() && Suchpuffer[p] == blank)
                ++p;
            if (p >= Suchpuffer.size() || Suchpuffer[p] == cr)
                vollständig = false;
            while (p < Suchpuffer.size() && Suchpuffer[p] != blank && Suchpuffer[p] != cr)
                ++p;
            if (p >= Suchpuffer.size() || Suchpuffer[p] == cr)
                vollständig = false;
        }
        if (!vollständig) {
            verwerfen(d);
            continue;
        }

        // The 15-character serial group, shorter at the end of a reply.
        qsizetype länge = 0;
        while (länge < 15 && p + länge < Suchpuffer.size() && Suchpuffer[p + länge] != cr)
            ++länge;
        const QString gruppe = Suchpuffer.mid(p, länge);
        const QString seriennummer = gruppe.mid(6, 9);
        // What follows the group up to the next reply is ignored; a dot in it
        // must not be taken for another address.
        verwerfen(p + länge);

        if (seriennummer.isEmpty())
            continue;
        bool bekannt = false;
        for (int i = 0; i <= Geräteanzahl && i < int(Geräteliste.size()); ++i)
            if (Geräteliste[size_t(i)].Seriennummer == seriennummer)
                bekannt = true;
        if (!bekannt && Geräteanzahl < int(Geräteliste.size())) {
            Geräteliste[size_t(Geräteanzahl)] = {adresse, seriennummer};
            ++Geräteanzahl;
        }
    }
}

void Form1::showEvent(QShowEvent *ereignis)
{
    QWidget::showEvent(ereignis);
    // The window's size includes its title bar and border where a window
    // manager draws them: the inner area gives up that room at the bottom.
    // A window manager tells the frame only a little later.
    Fenstergröße_anpassen();
    QTimer::singleShot(50, this, [this] { Fenstergröße_anpassen(); });
}

void Form1::Fenstergröße_anpassen()
{
    const QSize rand = frameGeometry().size() - geometry().size();
    const int weniger = height() - (Pixel(3660) - rand.height());
    if (rand.isEmpty() && weniger == 0)
        return;
    setFixedSize(Pixel(4095) - rand.width(), Pixel(3660) - rand.height());
    for (QWidget *knopf : {static_cast<QWidget *>(&Command2), static_cast<QWidget *>(&Command3)})
        knopf->move(knopf->x(), knopf->y() - weniger);
    for (QWidget *teil : {static_cast<QWidget *>(&Frame1), static_cast<QWidget *>(&Frame5),
                          static_cast<QWidget *>(&List1), static_cast<QWidget *>(&List2)})
        teil->resize(teil->width(), teil->height() - weniger);
    Command9.move(Command9.x(), Command9.y() - weniger);
}

void Form1::closeEvent(QCloseEvent *ereignis)
{
    Timer1.stop();
    Ereignisse_verarbeiten();
    Command1_Click();
    ereignis->accept();
}

} // namespace Loadmate
