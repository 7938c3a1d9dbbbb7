#include "Internet.h"

#include "Plattform.h"

#include <QFile>
#include <QList>
#include <QRegularExpression>

#include <curl/curl.h>

#include <map>
#include <memory>

namespace Loadmate::Internet {

namespace {

struct Objekt {
    enum class Art { Sitzung, Verbindung, Suche };
    explicit Objekt(Art a, Handle e) : art(a), eltern(e) {}
    virtual ~Objekt() = default;
    Art art;
    Handle eltern;
};

struct Sitzung : Objekt {
    explicit Sitzung(QString a) : Objekt(Art::Sitzung, 0), agent(std::move(a)) {}
    QString agent;
};

struct Server_Antwort {
    std::uint32_t code = 0;
    QString text;
};

struct Verbindung : Objekt {
    explicit Verbindung(Handle sitzung) : Objekt(Art::Verbindung, sitzung) {}
    ~Verbindung() override
    {
        if (curl)
            curl_easy_cleanup(curl); // says QUIT on a live connection
    }
    CURL *curl = nullptr;
    QByteArray basis_url; // "ftp://server:port/"
    QByteArray benutzer, kennwort;
    bool passiv = true;
    // Server answers of the running call, and a half-received line.
    QList<Server_Antwort> antworten;
    QByteArray angefangen;
};

struct Suche : Objekt {
    explicit Suche(Handle verbindung) : Objekt(Art::Suche, verbindung) {}
    QList<Verzeichniseintrag> treffer;
    qsizetype nächster = 0;
};

std::map<Handle, std::unique_ptr<Objekt>> &tabelle()
{
    static std::map<Handle, std::unique_ptr<Objekt>> t;
    return t;
}

Handle nächstes_handle = 0x10;
Server_Antwort letzte_antwort;

void Antwort_setzen(std::uint32_t code, const QString &text) { letzte_antwort = {code, text}; }

template <class T> T *Finden(Handle h, Objekt::Art art)
{
    auto it = tabelle().find(h);
    // No connection: the server's last word (say, a refused log-on) stays the
    // answer to show.
    if (h == 0 || it == tabelle().end() || it->second->art != art)
        return nullptr;
    return static_cast<T *>(it->second.get());
}

Handle Eintragen(std::unique_ptr<Objekt> o)
{
    const Handle h = nächstes_handle;
    nächstes_handle += 4;
    tabelle()[h] = std::move(o);
    return h;
}

// Server answers come in as "header" lines; the last line of an answer has a
// blank after its code.
void Zeile_auswerten(Verbindung &v, QByteArray zeile)
{
    while (zeile.endsWith('\r') || zeile.endsWith('\n'))
        zeile.chop(1);
    if (zeile.size() < 3)
        return;
    for (int i = 0; i < 3; ++i)
        if (zeile[i] < '0' || zeile[i] > '9')
            return;
    if (zeile.size() > 3 && zeile[3] != ' ')
        return;
    const std::uint32_t code = zeile.left(3).toUInt();
    v.antworten.append({code, Ansi_nach_Unicode(zeile.mid(4)).trimmed()});
}

int Mitschnitt(CURL *, curl_infotype art, char *daten, size_t länge, void *zeiger)
{
    if (art != CURLINFO_HEADER_IN)
        return 0;
    auto &v = *static_cast<Verbindung *>(zeiger);
    v.angefangen.append(daten, qsizetype(länge));
    qsizetype ende;
    while ((ende = v.angefangen.indexOf('\n')) >= 0) {
        Zeile_auswerten(v, v.angefangen.left(ende + 1));
        v.angefangen.remove(0, ende + 1);
    }
    return 0;
}

size_t Schreiben(char *daten, size_t größe, size_t anzahl, void *ziel)
{
    static_cast<QByteArray *>(ziel)->append(daten, qsizetype(größe * anzahl));
    return größe * anzahl;
}

size_t Lesen(char *puffer, size_t größe, size_t anzahl, void *quelle)
{
    const qint64 n = static_cast<QFile *>(quelle)->read(puffer, qint64(größe * anzahl));
    return n < 0 ? CURL_READFUNC_ABORT : size_t(n);
}

std::uint32_t Fehlercode(CURLcode rc)
{
    switch (rc) {
    case CURLE_COULDNT_RESOLVE_HOST: return ERROR_INTERNET_NAME_NOT_RESOLVED;
    case CURLE_COULDNT_CONNECT: return ERROR_INTERNET_CANNOT_CONNECT;
    case CURLE_OPERATION_TIMEDOUT: return ERROR_INTERNET_TIMEOUT;
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE: return ERROR_INTERNET_CONNECTION_ABORTED;
    case CURLE_READ_ERROR: return ERROR_FILE_NOT_FOUND;
    default: return ERROR_INTERNET_EXTENDED_ERROR;
    }
}

QString Fehlertext(CURLcode rc)
{
    switch (rc) {
    case CURLE_COULDNT_RESOLVE_HOST: return QStringLiteral("Servername unbekannt");
    case CURLE_COULDNT_CONNECT: return QStringLiteral("Keine Verbindung zum Server");
    case CURLE_OPERATION_TIMEDOUT: return QStringLiteral("Zeitüberschreitung");
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE: return QStringLiteral("Verbindung abgebrochen");
    case CURLE_READ_ERROR: return QStringLiteral("Lokale Datei nicht lesbar");
    default:
        return QStringLiteral("FTP-Fehler (%1)").arg(QString::fromLatin1(curl_easy_strerror(rc)));
    }
}

void Grundeinstellungen(Verbindung &v, const QByteArray &url)
{
    CURL *c = v.curl;
    curl_easy_reset(c); // keeps the open control connection
    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(c, CURLOPT_USERNAME, v.benutzer.constData());
    curl_easy_setopt(c, CURLOPT_PASSWORD, v.kennwort.constData());
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 10L);
    curl_easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT, 20L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, 30L);
    curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, Mitschnitt);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, &v);
    if (v.passiv) {
        curl_easy_setopt(c, CURLOPT_FTP_USE_EPSV, 0L); // plain PASV, as the box expects
    } else {
        curl_easy_setopt(c, CURLOPT_FTPPORT, "-");
        curl_easy_setopt(c, CURLOPT_FTP_USE_EPRT, 0L);
    }
}

bool Ausführen(Verbindung &v)
{
    v.antworten.clear();
    v.angefangen.clear();
    const CURLcode rc = curl_easy_perform(v.curl);
    if (rc == CURLE_OK) {
        if (!v.antworten.isEmpty()) {
            const auto &a = v.antworten.last();
            Antwort_setzen(a.code >= 400 ? a.code : 0, a.text);
        }
        return true;
    }
    // The refusing answer, not what the client said afterwards.
    for (qsizetype i = v.antworten.size() - 1; i >= 0; --i)
        if (v.antworten[i].code >= 400) {
            Antwort_setzen(v.antworten[i].code, v.antworten[i].text);
            return false;
        }
    Antwort_setzen(Fehlercode(rc), Fehlertext(rc));
    return false;
}

bool Servername_zulässig(const QString &s)
{
    static const QRegularExpression name(QStringLiteral("^[A-Za-z0-9.-]+$"));
    static const QRegularExpression ipv6(QStringLiteral("^[0-9A-Fa-f:.]+$"));
    return name.match(s).hasMatch() || (s.contains(QLatin1Char(':')) && ipv6.match(s).hasMatch());
}

// A remote name goes into a URL and into FTP commands: no line breaks.
bool Name_zulässig(const QString &name)
{
    if (name.isEmpty())
        return false;
    for (QChar z : name)
        if (z == QLatin1Char('\r') || z == QLatin1Char('\n') || z.isNull())
            return false;
    return true;
}

QByteArray Entschärft(CURL *c, const QByteArray &teil)
{
    char *e = curl_easy_escape(c, teil.constData(), int(teil.size()));
    QByteArray r(e);
    curl_free(e);
    return r;
}

std::uint16_t Standardport()
{
    bool ok = false;
    const uint p = qEnvironmentVariable("LOADMATE_FTP_PORT").toUInt(&ok);
    return ok && p > 0 && p < 65536 ? std::uint16_t(p) : std::uint16_t(21);
}

void Schließen(Handle h)
{
    auto it = tabelle().find(h);
    if (it == tabelle().end())
        return;
    // Children first.
    QList<Handle> kinder;
    for (const auto &[k, o] : tabelle())
        if (o->eltern == h)
            kinder.append(k);
    for (Handle k : kinder)
        Schließen(k);
    it = tabelle().find(h);
    if (it->second->art == Objekt::Art::Verbindung) {
        auto &v = static_cast<Verbindung &>(*it->second);
        v.antworten.clear();
        curl_easy_cleanup(v.curl);
        v.curl = nullptr;
        if (!v.antworten.isEmpty())
            Antwort_setzen(v.antworten.last().code >= 400 ? v.antworten.last().code : 0,
                           v.antworten.last().text);
    }
    tabelle().erase(it);
}

const QStringList &Monate()
{
    static const QStringList m = {"jan", "feb", "mar", "apr", "may", "jun",
                                  "jul", "aug", "sep", "oct", "nov", "dec"};
    return m;
}

void Name_setzen(Verzeichniseintrag *e, const QByteArray &name)
{
    e->cFileName.fill(0);
    const qsizetype n = qMin<qsizetype>(name.size(), qsizetype(e->cFileName.size()) - 1);
    std::copy_n(name.constData(), n, e->cFileName.begin());
    e->cAlternateFileName.fill(0);
}

void Größe_setzen(Verzeichniseintrag *e, quint64 größe)
{
    e->nFileSizeHigh = std::uint32_t(größe >> 32);
    e->nFileSizeLow = std::uint32_t(größe & 0xffffffffu);
}

} // namespace

bool Muster_passt(const QString &muster, const QString &name)
{
    // "*.*" and "x*.*" also match names without a dot, as on the old platform.
    if (muster.endsWith(QLatin1String(".*")) && Muster_passt(muster.chopped(2), name))
        return true;
    const QString m = muster.toLower(), n = name.toLower();
    // Iterative glob with backtracking to the last '*'.
    qsizetype i = 0, j = 0, stern = -1, merk = 0;
    while (j < n.size()) {
        if (i < m.size() && (m[i] == QLatin1Char('?') || m[i] == n[j])) {
            ++i;
            ++j;
        } else if (i < m.size() && m[i] == QLatin1Char('*')) {
            stern = i++;
            merk = j;
        } else if (stern >= 0) {
            i = stern + 1;
            j = ++merk;
        } else {
            return false;
        }
    }
    while (i < m.size() && m[i] == QLatin1Char('*'))
        ++i;
    return i == m.size();
}

bool Listenzeile_lesen(const QByteArray &roh, Verzeichniseintrag *e)
{
    QByteArray zeile = roh;
    while (zeile.endsWith('\r') || zeile.endsWith('\n'))
        zeile.chop(1);
    *e = Verzeichniseintrag{};

    // DOS layout: "12-07-23  03:00PM       <DIR>          name"
    static const QRegularExpression dos(QStringLiteral(
        "^(\\d{2})-(\\d{2})-(\\d{2,4})\\s+(\\d{1,2}):(\\d{2})\\s*([AaPp][Mm])?\\s+(<DIR>|\\d+)\\s+(.+)$"));
    const QString text = QString::fromLatin1(zeile);
    if (const auto t = dos.match(text); t.hasMatch()) {
        int jahr = t.captured(3).toInt();
        if (jahr < 100)
            jahr += jahr < 70 ? 2000 : 1900;
        int stunde = t.captured(4).toInt();
        const QString ampm = t.captured(6).toUpper();
        if (ampm == QLatin1String("PM") && stunde < 12)
            stunde += 12;
        if (ampm == QLatin1String("AM") && stunde == 12)
            stunde = 0;
        e->ftLastWriteTime = QDateTime(QDate(jahr, t.captured(1).toInt(), t.captured(2).toInt()),
                                       QTime(stunde, t.captured(5).toInt()));
        if (t.captured(7) == QLatin1String("<DIR>"))
            e->dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
        else {
            e->dwFileAttributes = FILE_ATTRIBUTE_NORMAL;
            Größe_setzen(e, t.captured(7).toULongLong());
        }
        Name_setzen(e, zeile.mid(t.capturedStart(8)));
        return true;
    }

    // Unix layout: "drwxr-xr-x 2 owner group 4096 Jan 01 12:00 name"; the
    // group may be missing, so find the date by its shape.
    if (zeile.isEmpty() || !QByteArray("-dlcbps").contains(zeile[0]))
        return false;
    struct Wort { qsizetype anfang, ende; };
    QList<Wort> wörter;
    for (qsizetype i = 0; i < zeile.size();) {
        while (i < zeile.size() && (zeile[i] == ' ' || zeile[i] == '\t'))
            ++i;
        if (i >= zeile.size())
            break;
        const qsizetype a = i;
        while (i < zeile.size() && zeile[i] != ' ' && zeile[i] != '\t')
            ++i;
        wörter.append({a, i});
    }
    auto wort = [&](qsizetype k) { return zeile.mid(wörter[k].anfang, wörter[k].ende - wörter[k].anfang); };
    static const QRegularExpression uhrzeit(QStringLiteral("^(\\d{1,2}):(\\d{2})$"));
    static const QRegularExpression jahreszahl(QStringLiteral("^\\d{4}$"));
    for (qsizetype k = 2; k + 3 < wörter.size(); ++k) {
        const int monat = int(Monate().indexOf(QString::fromLatin1(wort(k)).toLower())) + 1;
        bool ok = false;
        const int tag = wort(k + 1).toInt(&ok);
        const QString drittes = QString::fromLatin1(wort(k + 2));
        if (monat < 1 || !ok || tag < 1 || tag > 31)
            continue;
        QDate datum;
        QTime zeit(0, 0);
        if (const auto u = uhrzeit.match(drittes); u.hasMatch()) {
            const QDate heute = QDate::currentDate();
            datum = QDate(heute.year(), monat, tag);
            if (datum > heute.addDays(1))
                datum = datum.addYears(-1);
            zeit = QTime(u.captured(1).toInt(), u.captured(2).toInt());
        } else if (jahreszahl.match(drittes).hasMatch()) {
            datum = QDate(drittes.toInt(), monat, tag);
        } else {
            continue;
        }
        bool größe_ok = false;
        const quint64 größe = wort(k - 1).toULongLong(&größe_ok);
        if (!größe_ok)
            continue;
        // The name is everything after the date, blanks inside it included.
        qsizetype anfang = wörter[k + 2].ende;
        while (anfang < zeile.size() && zeile[anfang] == ' ')
            ++anfang;
        QByteArray name = zeile.mid(anfang);
        if (zeile[0] == 'l') {
            const qsizetype pfeil = name.indexOf(" -> ");
            if (pfeil > 0)
                name.truncate(pfeil);
        }
        if (name.isEmpty())
            return false;
        e->dwFileAttributes = zeile[0] == 'd' ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
        if (zeile[0] != 'd')
            Größe_setzen(e, größe);
        e->ftLastWriteTime = QDateTime(datum, zeit);
        Name_setzen(e, name);
        return true;
    }
    return false;
}

Handle InternetOpen(const QString &agent, std::uint32_t zugangsart, const QString &, const QString &,
                    std::uint32_t)
{
    static const bool bereit = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    if (!bereit || zugangsart != INTERNET_OPEN_TYPE_DIRECT) {
        Antwort_setzen(ERROR_INVALID_PARAMETER, QStringLiteral("Internetzugang nicht möglich"));
        return 0;
    }
    return Eintragen(std::make_unique<Sitzung>(agent));
}

Handle InternetConnect(Handle sitzung, const QString &server, std::uint16_t port,
                       const QString &benutzer, const QString &kennwort, std::uint32_t dienst,
                       std::uint32_t flags, std::uintptr_t)
{
    if (!Finden<Sitzung>(sitzung, Objekt::Art::Sitzung))
        return 0;
    if (dienst != INTERNET_SERVICE_FTP) {
        Antwort_setzen(ERROR_INVALID_PARAMETER, QStringLiteral("Dienst nicht unterstützt"));
        return 0;
    }
    // The name comes from a network answer: it must not be able to reshape the URL.
    if (!Servername_zulässig(server)) {
        Antwort_setzen(ERROR_INTERNET_NAME_NOT_RESOLVED, QStringLiteral("Servername unbekannt"));
        return 0;
    }
    auto v = std::make_unique<Verbindung>(sitzung);
    v->curl = curl_easy_init();
    if (!v->curl) {
        Antwort_setzen(ERROR_INTERNET_EXTENDED_ERROR, QStringLiteral("FTP-Fehler"));
        return 0;
    }
    const QString host = server.contains(QLatin1Char(':')) ? QLatin1Char('[') + server + QLatin1Char(']')
                                                           : server;
    const int p = port == INTERNET_DEFAULT_PORT ? Standardport() : port;
    v->basis_url = QStringLiteral("ftp://%1:%2/").arg(host).arg(p).toLatin1();
    v->benutzer = Unicode_nach_Ansi(benutzer);
    v->kennwort = Unicode_nach_Ansi(kennwort);
    v->passiv = (flags & INTERNET_FLAG_PASSIVE) != 0;

    // Log on now, so that a refused log-on shows here and not at the first upload.
    Grundeinstellungen(*v, v->basis_url);
    curl_easy_setopt(v->curl, CURLOPT_NOBODY, 1L);
    if (!Ausführen(*v))
        return 0;
    return Eintragen(std::move(v));
}

bool FtpPutFile(Handle verbindung, const QString &lokale_datei, const QString &ferner_name,
                std::uint32_t flags, std::uintptr_t)
{
    auto *v = Finden<Verbindung>(verbindung, Objekt::Art::Verbindung);
    if (!v)
        return false;
    if (!Name_zulässig(ferner_name)) {
        Antwort_setzen(ERROR_INVALID_PARAMETER, QStringLiteral("Ungültiger Dateiname"));
        return false;
    }
    QFile datei(lokale_datei);
    if (!datei.open(QIODevice::ReadOnly)) {
        Antwort_setzen(ERROR_FILE_NOT_FOUND, QStringLiteral("Lokale Datei nicht gefunden"));
        return false;
    }
    Grundeinstellungen(*v, v->basis_url + Entschärft(v->curl, Unicode_nach_Ansi(ferner_name)));
    curl_easy_setopt(v->curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(v->curl, CURLOPT_READFUNCTION, Lesen);
    curl_easy_setopt(v->curl, CURLOPT_READDATA, &datei);
    curl_easy_setopt(v->curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(datei.size()));
    curl_easy_setopt(v->curl, CURLOPT_TRANSFERTEXT, (flags & 3) == FTP_TRANSFER_TYPE_ASCII ? 1L : 0L);
    return Ausführen(*v);
}

bool FtpDeleteFile(Handle verbindung, const QString &ferner_name)
{
    auto *v = Finden<Verbindung>(verbindung, Objekt::Art::Verbindung);
    if (!v)
        return false;
    if (!Name_zulässig(ferner_name)) {
        Antwort_setzen(ERROR_INVALID_PARAMETER, QStringLiteral("Ungültiger Dateiname"));
        return false;
    }
    const QByteArray befehl = "DELE " + Unicode_nach_Ansi(ferner_name);
    curl_slist *befehle = curl_slist_append(nullptr, befehl.constData());
    Grundeinstellungen(*v, v->basis_url);
    curl_easy_setopt(v->curl, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(v->curl, CURLOPT_QUOTE, befehle);
    const bool ok = Ausführen(*v);
    curl_easy_setopt(v->curl, CURLOPT_QUOTE, nullptr);
    curl_slist_free_all(befehle);
    return ok;
}

Handle FtpFindFirstFile(Handle verbindung, const QString &muster_text, Verzeichniseintrag *eintrag,
                        std::uint32_t, std::uintptr_t)
{
    auto *v = Finden<Verbindung>(verbindung, Objekt::Art::Verbindung);
    if (!v)
        return 0;
    QString muster = muster_text;
    muster.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!Name_zulässig(muster)) {
        Antwort_setzen(ERROR_INVALID_PARAMETER, QStringLiteral("Ungültiger Dateiname"));
        return 0;
    }
    const qsizetype strich = muster.lastIndexOf(QLatin1Char('/'));
    QByteArray url = v->basis_url;
    if (strich >= 0) {
        for (const QString &teil : muster.left(strich).split(QLatin1Char('/'), Qt::SkipEmptyParts))
            url += Entschärft(v->curl, Unicode_nach_Ansi(teil)) + '/';
        muster = muster.mid(strich + 1);
    }
    if (muster.isEmpty())
        muster = QStringLiteral("*");

    QByteArray liste;
    Grundeinstellungen(*v, url);
    curl_easy_setopt(v->curl, CURLOPT_WRITEFUNCTION, Schreiben);
    curl_easy_setopt(v->curl, CURLOPT_WRITEDATA, &liste);
    if (!Ausführen(*v))
        return 0;

    auto suche = std::make_unique<Suche>(verbindung);
    for (const QByteArray &zeile : liste.split('\n')) {
        Verzeichniseintrag e;
        if (!Listenzeile_lesen(zeile, &e))
            continue;
        if (Muster_passt(muster, Ansi_nach_Unicode(QByteArray(e.cFileName.data()))))
            suche->treffer.append(e);
    }
    if (suche->treffer.isEmpty())
        return 0;
    if (eintrag)
        *eintrag = suche->treffer.first();
    suche->nächster = 1;
    return Eintragen(std::move(suche));
}

bool InternetFindNextFile(Handle h, Verzeichniseintrag *eintrag)
{
    auto it = tabelle().find(h);
    if (h == 0 || it == tabelle().end() || it->second->art != Objekt::Art::Suche)
        return false;
    auto &s = static_cast<Suche &>(*it->second);
    if (s.nächster >= s.treffer.size())
        return false;
    if (eintrag)
        *eintrag = s.treffer[s.nächster];
    ++s.nächster;
    return true;
}

bool InternetGetLastResponseInfo(std::uint32_t *fehlercode, QString *text)
{
    if (fehlercode)
        *fehlercode = letzte_antwort.code;
    if (text)
        *text = letzte_antwort.text;
    return true;
}

bool InternetCloseHandle(Handle h)
{
    if (h == 0 || tabelle().find(h) == tabelle().end())
        return false;
    Schließen(h);
    return true;
}

int Offene_Handles() { return int(tabelle().size()); }

} // namespace Loadmate::Internet
