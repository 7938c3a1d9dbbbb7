#pragma once

// The internet library of the wizard: the FTP calls it makes, as a small
// layer over libcurl. Handles are numbers, 0 meaning none. A connection keeps
// one logged-on control connection for all calls made on it.

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>

namespace Loadmate::Internet {

using Handle = std::uintptr_t;

constexpr std::uint32_t INTERNET_OPEN_TYPE_DIRECT = 1;
constexpr std::uint32_t INTERNET_SERVICE_FTP = 1;
constexpr std::uint32_t INTERNET_FLAG_PASSIVE = 0x8000000;
constexpr std::uint16_t INTERNET_DEFAULT_PORT = 0;
constexpr std::uint32_t FTP_TRANSFER_TYPE_ASCII = 1;
constexpr std::uint32_t FTP_TRANSFER_TYPE_BINARY = 2;
constexpr std::uint32_t FILE_ATTRIBUTE_READONLY = 1;
constexpr std::uint32_t FILE_ATTRIBUTE_DIRECTORY = 16;
constexpr std::uint32_t FILE_ATTRIBUTE_NORMAL = 128;

// Error codes of the layer's own failures (no server answer to report).
constexpr std::uint32_t ERROR_FILE_NOT_FOUND = 2;
constexpr std::uint32_t ERROR_INVALID_HANDLE = 6;
constexpr std::uint32_t ERROR_INVALID_PARAMETER = 87;
constexpr std::uint32_t ERROR_INTERNET_TIMEOUT = 12002;
constexpr std::uint32_t ERROR_INTERNET_EXTENDED_ERROR = 12003;
constexpr std::uint32_t ERROR_INTERNET_NAME_NOT_RESOLVED = 12007;
constexpr std::uint32_t ERROR_INTERNET_CANNOT_CONNECT = 12029;
constexpr std::uint32_t ERROR_INTERNET_CONNECTION_ABORTED = 12030;

// One directory entry, laid out as the old platform's find record: the name
// fields are zero-terminated single-byte text.
struct Verzeichniseintrag {
    std::uint32_t dwFileAttributes = 0;
    QDateTime ftCreationTime;
    QDateTime ftLastAccessTime;
    QDateTime ftLastWriteTime;
    std::uint32_t nFileSizeHigh = 0;
    std::uint32_t nFileSizeLow = 0;
    std::array<char, 260> cFileName{};
    std::array<char, 14> cAlternateFileName{};
};

Handle InternetOpen(const QString &agent, std::uint32_t zugangsart, const QString &proxy,
                    const QString &proxy_ausnahmen, std::uint32_t flags);
// Logs on at once; 0 if the server cannot be reached or refuses the log-on.
// Port 0 is the FTP default: 21, or LOADMATE_FTP_PORT when set.
Handle InternetConnect(Handle sitzung, const QString &server, std::uint16_t port,
                       const QString &benutzer, const QString &kennwort, std::uint32_t dienst,
                       std::uint32_t flags, std::uintptr_t kontext);
// Remote names are relative to the directory the server started the session in.
bool FtpPutFile(Handle verbindung, const QString &lokale_datei, const QString &ferner_name,
                std::uint32_t flags, std::uintptr_t kontext);
bool FtpDeleteFile(Handle verbindung, const QString &ferner_name);
// Lists the directory and returns a find handle positioned after the first
// entry that matches the pattern ("*", "?" as on the old platform, any case).
Handle FtpFindFirstFile(Handle verbindung, const QString &muster, Verzeichniseintrag *eintrag,
                        std::uint32_t flags, std::uintptr_t kontext);
bool InternetFindNextFile(Handle suche, Verzeichniseintrag *eintrag);
// Code and text of the last server response. The code is 0 when the server
// accepted the last command, its reply code when it refused it, or one of the
// error codes above when the layer failed without an answer.
bool InternetGetLastResponseInfo(std::uint32_t *fehlercode, QString *text);
// Closing a session also closes its connections and finds.
bool InternetCloseHandle(Handle h);

// For tests: how many handles are open.
int Offene_Handles();

// Parses one line of a LIST answer (Unix or DOS layout); false if the line
// names no entry.
bool Listenzeile_lesen(const QByteArray &zeile, Verzeichniseintrag *eintrag);
bool Muster_passt(const QString &muster, const QString &name);

} // namespace Loadmate::Internet
