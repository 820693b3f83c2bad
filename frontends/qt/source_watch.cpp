#include "source_watch.h"

#include <QDateTime>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <utility>

namespace {

// Saves closer together than this are one change: an editor's write, rename and backup.
constexpr int QUIET_MS = 60;

} // namespace

SourceWatch::SourceWatch(const QStringList& folders, const QString& build_dir,
                         const QString& target, const QStringList& made, QObject* parent)
    : QObject(parent), folders_(folders), build_dir_(build_dir), target_(target), made_(made),
      made_stamp_(madeStamp()) {
    quiet_.setSingleShot(true);
    quiet_.setInterval(QUIET_MS);
    connect(&quiet_, &QTimer::timeout, this, &SourceWatch::build);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &SourceWatch::saved);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &SourceWatch::saved);
    process_.setProcessChannelMode(QProcess::MergedChannels);
    // Ninja's progress lines carry the seconds since the build began, so that the log tells
    // compiling from linking.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("NINJA_STATUS"), QStringLiteral("[%f/%t %es] "));
    process_.setProcessEnvironment(environment);
    connect(&process_, &QProcess::readyRead, this,
            [this] { log_ += QString::fromLocal8Bit(process_.readAll()); });
    connect(&process_, &QProcess::finished, this, &SourceWatch::finished);
}

void SourceWatch::start() {
    if (std::exchange(started_, true)) {
        return;
    }
    arm();
    // A save while this program was starting (the one before it had already handed over)
    // would otherwise wait for the next: a source newer than the latest build builds at once.
    QDateTime built;
    for (const QString& path : made_) {
        const QFileInfo made(path);
        if (made.exists() && (!built.isValid() || made.lastModified() > built)) {
            built = made.lastModified();
        }
    }
    for (const QString& path : watcher_.files()) {
        if (built.isValid() && QFileInfo(path).lastModified() > built) {
            quietly_ = true;
            quiet_.start();
            break;
        }
    }
}

// Every folder and source file under the watched folders. An editor that saves by renaming
// a new file over the old one leaves the old file's watch behind; a new file or folder needs
// one of its own: so after every change the watch is laid again.
void SourceWatch::arm() {
    QStringList paths;
    for (const QString& folder : folders_) {
        paths << folder;
        QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            paths << it.next();
        }
    }
    const QStringList watched = watcher_.files() + watcher_.directories();
    QStringList fresh;
    for (const QString& path : paths) {
        if (!watched.contains(path)) {
            fresh << path;
        }
    }
    if (!fresh.isEmpty()) {
        watcher_.addPaths(fresh);
    }
}

void SourceWatch::saved() {
    if (!quiet_.isActive() && process_.state() == QProcess::NotRunning && !again_) {
        since_save_.start();
        noteWatchEvent(QStringLiteral("saved"));
    }
    arm();
    if (process_.state() != QProcess::NotRunning) {
        again_ = true;
        return;
    }
    quiet_.start();
}

void SourceWatch::build() {
    again_ = false;
    log_.clear();
    emit building();
    noteWatchEvent(QStringLiteral("build"));
    // Ninja itself where it made the tree: cmake --build would only start it, a tenth of a
    // second later.
    if (QFileInfo::exists(build_dir_ + QStringLiteral("/build.ninja"))) {
        process_.start(QStringLiteral("ninja"), {QStringLiteral("-C"), build_dir_, target_});
    } else {
        process_.start(QStringLiteral("cmake"), {QStringLiteral("--build"), build_dir_,
                                                 QStringLiteral("--target"), target_});
    }
}

void SourceWatch::finished(int exit_code, QProcess::ExitStatus status) {
    log_ += QString::fromLocal8Bit(process_.readAll());
    if (again_) {
        build(); // a save came during the build
        return;
    }
    const bool quietly = std::exchange(quietly_, false);
    const bool good = status == QProcess::NormalExit && exit_code == 0;
    // The compiling ends with the last object built; the rest is the link.
    double compiled_s = 0;
    static const QRegularExpression progress(QStringLiteral(R"(^\[\d+/\d+ ([0-9.]+)s\] Building)"),
                                             QRegularExpression::MultilineOption);
    for (auto it = progress.globalMatch(log_); it.hasNext();) {
        compiled_s = it.next().captured(1).toDouble();
    }
    noteWatchEvent(good ? QStringLiteral("built") : QStringLiteral("failed"),
                   QStringLiteral("compiled_s=%1").arg(compiled_s));
    if (!good) {
        QString error = firstError(log_);
        if (error.isEmpty()) {
            error = status == QProcess::NormalExit
                        ? tr("the build failed (exit status %1)").arg(exit_code)
                        : tr("the build could not run: %1").arg(process_.errorString());
        }
        emit failed(error);
        return;
    }
    const QString stamp = madeStamp();
    if (stamp == made_stamp_) {
        if (!quietly) {
            emit upToDate();
        }
        return;
    }
    made_stamp_ = stamp;
    emit built(static_cast<double>(since_save_.elapsed()) / 1000.0);
}

// The made files' times and sizes: a build that made any of them anew changes it.
QString SourceWatch::madeStamp() const {
    QString stamp;
    for (const QString& path : made_) {
        const QFileInfo info(path);
        stamp += info.exists() ? QStringLiteral("%1:%2 ")
                                     .arg(info.lastModified().toMSecsSinceEpoch())
                                     .arg(info.size())
                               : QStringLiteral("- ");
    }
    return stamp;
}

QString SourceWatch::firstError(const QString& output) {
    static const QRegularExpression compiler(
        QStringLiteral(R"(^(\S[^\n]*?:\d+:\d+: (?:fatal )?error: [^\n]*)$)"),
        QRegularExpression::MultilineOption);
    if (const QRegularExpressionMatch m = compiler.match(output); m.hasMatch()) {
        return m.captured(1);
    }
    static const QRegularExpression any(QStringLiteral(R"(^([^\n]*\berror\b[^\n]*)$)"),
                                        QRegularExpression::MultilineOption |
                                            QRegularExpression::CaseInsensitiveOption);
    for (auto it = any.globalMatch(output); it.hasNext();) {
        const QString line = it.next().captured(1).trimmed();
        if (!line.startsWith(QLatin1String("FAILED:")) && !line.startsWith(QLatin1Char('['))) {
            return line;
        }
    }
    return {};
}

void noteWatchEvent(const QString& event, const QString& detail) {
    static const QString path = qEnvironmentVariable("TXM9_WATCH_LOG");
    if (path.isEmpty()) {
        return;
    }
    QFile file(path);
    if (file.open(QIODevice::Append | QIODevice::Text)) {
        file.write(QStringLiteral("%1 %2 %3\n")
                       .arg(event)
                       .arg(QDateTime::currentMSecsSinceEpoch())
                       .arg(detail)
                       .toUtf8());
    }
}
