// Runs one store call in a process of its own, so that a test can lower its file-size limit or
// run it as an unprivileged user (root ignores permission bits). Windows has neither: there it
// only runs the call, in a process that does not hold the test's open files.
//
//   rate_probe [--as UID:GID] [--fsize BYTES] [--in-place STEP | --crash STEP] [--pause STEP]
//              [--fail STEPS] save PATH TEXT [REPEAT]
//   rate_probe [--as UID:GID] read PATH
//   rate_probe save-by-turns PATH TEXT_A TEXT_B REPEAT
//
// --in-place writes the file in place, as where the folder refuses new files, and ends the process
// with status 9 right after STEP (opened, noted, cut, written, flushed, closed), as a crash would;
// "none" lets the save finish. --pause prints "paused" after STEP and waits for a line on its
// input; put after --in-place, it pauses that save. --fail makes each of the comma-separated STEPS (cut, written, flushed, putback) fail as
// on a full disk. --crash STEP ends the process there without forcing a save in place
// ("replacing": just before a save's temporary file replaces the rate file).
//
// save-by-turns saves the two texts (each repeated) by turns until the process is killed; it
// prints "saving" once, when the first save starts.
//
// Prints "ok", "text:<text>", "none" or the error kind, then the detail line; exits 0 when the
// call ran, 3 when the user could not be changed, 2 on bad arguments.

#include "shell/types/errors.h"
#include "rates/ratestore.h"

#include <QByteArray>
#include <QStandardPaths>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifndef Q_OS_WIN
#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

using namespace varnek;

namespace {

const char *kindName(ErrorKind kind)
{
    switch (kind) {
    case ErrorKind::FileNotFound: return "FileNotFound";
    case ErrorKind::FileAccess: return "FileAccess";
    default: return "other";
    }
}

const char *const stepNames[] = {"opened", "noted", "cut", "written", "flushed", "closed", "putback", "replacing"};
int crashStep = -1;
int pauseStep = -1;
unsigned failing = 0;

int stepNamed(const char *name)
{
    const auto named = std::find_if(std::begin(stepNames), std::end(stepNames),
                                    [&](const char *known) { return std::strcmp(known, name) == 0; });
    return int(named - std::begin(stepNames));
}

void afterStep(InPlaceStep step)
{
    if (int(step) == crashStep)
        std::_Exit(9);
    if (int(step) == pauseStep) {
        std::puts("paused");
        std::fflush(stdout);
        char line[8];
        static_cast<void>(std::fgets(line, sizeof line, stdin));
    }
}

bool fails(InPlaceStep step) { return (failing >> int(step)) & 1U; }

#ifndef Q_OS_WIN
bool becomeUser(const char *ids)
{
    unsigned uid = 0;
    unsigned gid = 0;
    if (std::sscanf(ids, "%u:%u", &uid, &gid) != 2)
        return false;
    return setgroups(0, nullptr) == 0 && setgid(gid) == 0 && setuid(uid) == 0 && geteuid() == uid
        && setuid(0) != 0;
}
#endif

} // namespace

int main(int argc, char **argv)
{
    // Where the test looks for what a save in place notes.
    QStandardPaths::setTestModeEnabled(true);
    int arg = 1;
    for (; arg + 1 < argc && argv[arg][0] == '-'; arg += 2) {
        if (std::strcmp(argv[arg], "--in-place") == 0) {
            crashStep = stepNamed(argv[arg + 1]);
            setInPlaceSaveProbe({true, afterStep, fails});
            continue;
        }
        if (std::strcmp(argv[arg], "--crash") == 0) {
            crashStep = stepNamed(argv[arg + 1]);
            setInPlaceSaveProbe({false, afterStep, fails});
            continue;
        }
        if (std::strcmp(argv[arg], "--pause") == 0) {
            pauseStep = stepNamed(argv[arg + 1]);
            if (crashStep < 0)
                setInPlaceSaveProbe({false, afterStep, fails});
            continue;
        }
        if (std::strcmp(argv[arg], "--fail") == 0) {
            for (const QByteArray &name : QByteArray(argv[arg + 1]).split(','))
                failing |= 1U << stepNamed(name.constData());
            continue;
        }
#ifdef Q_OS_WIN
        return 2;
#else
        if (std::strcmp(argv[arg], "--as") == 0) {
            if (!becomeUser(argv[arg + 1]))
                return 3;
        } else if (std::strcmp(argv[arg], "--fsize") == 0) {
            // Without this the kernel kills the process at the limit instead of failing the write.
            std::signal(SIGXFSZ, SIG_IGN);
            const auto limit = static_cast<rlim_t>(std::strtoull(argv[arg + 1], nullptr, 10));
            const rlimit lim{limit, limit};
            if (setrlimit(RLIMIT_FSIZE, &lim) != 0)
                return 2;
        } else {
            return 2;
        }
#endif
    }
    if (argc - arg < 2)
        return 2;
    const QString command = QString::fromLocal8Bit(argv[arg]);
    const QString path = QString::fromLocal8Bit(argv[arg + 1]);
    try {
        if (command == u"save" && argc - arg >= 3) {
            const auto repeat = argc - arg >= 4 ? std::strtoll(argv[arg + 3], nullptr, 10) : 1;
            saveRate(path, QString::fromLocal8Bit(argv[arg + 2]).repeated(repeat));
            std::puts("ok");
        } else if (command == u"save-by-turns" && argc - arg >= 5) {
            const auto repeat = std::strtoll(argv[arg + 4], nullptr, 10);
            const QString texts[] = {QString::fromLocal8Bit(argv[arg + 2]).repeated(repeat),
                                     QString::fromLocal8Bit(argv[arg + 3]).repeated(repeat)};
            std::puts("saving");
            std::fflush(stdout);
            for (unsigned turn = 0;; ++turn)
                saveRate(path, texts[turn % 2]);
        } else if (command == u"read") {
            const auto text = readRate(path);
            std::puts(text ? ("text:" + text->toUtf8()).constData() : "none");
        } else {
            return 2;
        }
    } catch (const RuntimeError &e) {
        std::printf("%s\n%s\n", kindName(e.kind()), e.detail().toUtf8().constData());
    }
    return 0;
}
