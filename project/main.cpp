#include <QApplication>
#include <QFont>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/Bildschirmauskunft.h"
#include "project/MDIForm1.h"

namespace {
int signalpaar[2] = {-1, -1};

void beim_Beenden_signal(int) {
    const char c = 1;
    [[maybe_unused]] auto n = ::write(signalpaar[0], &c, 1);
}

// The system's request to end (shutdown, kill) closes the frame as the
// operator would, so the run log records the end.
void Beendensignale_umleiten(MDIForm1* rahmen) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalpaar) != 0)
        return;
    auto* melder = new QSocketNotifier(signalpaar[1], QSocketNotifier::Read, rahmen);
    QObject::connect(melder, &QSocketNotifier::activated, rahmen, [rahmen] {
        char c;
        [[maybe_unused]] auto n = ::read(signalpaar[1], &c, 1);
        rahmen->close();  // during a run the frame ends the program at once
    });
    struct sigaction aktion {};
    aktion.sa_handler = beim_Beenden_signal;
    sigemptyset(&aktion.sa_mask);
    aktion.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &aktion, nullptr);
    sigaction(SIGINT, &aktion, nullptr);
    sigaction(SIGHUP, &aktion, nullptr);
}
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kestrix");
    // The pages are laid out for this font on the quarter-VGA panel.
    QFont schrift("DejaVu Sans");
    schrift.setPixelSize(11);
    QApplication::setFont(schrift);
    Bildschirmauskunft_einrichten(&app);

    auto* rahmen = new MDIForm1;
    Beendensignale_umleiten(rahmen);
    if (!rahmen->MDIForm_Load())
        return 1;
    rahmen->show();
    const int ergebnis = QApplication::exec();
    delete rahmen;
    return ergebnis;
}
