// The sources a program was built from, watched while it runs: a burst of saves (an editor
// writes a file, renames it over the old one, touches a backup) builds once, incrementally, in
// a process of its own, so that the window goes on answering meanwhile. A save during a build
// builds again after it. The build says whether it made a new program, or what the compiler
// found first.
#pragma once

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>

class SourceWatch : public QObject {
    Q_OBJECT

public:
    // Watches `folders` (and the folders inside them) for saves, and builds `target` in
    // `build_dir`; `made` are the files the build makes that the program runs: the program
    // and, in a build with the firmware as shared libraries, those.
    SourceWatch(const QStringList& folders, const QString& build_dir, const QString& target,
                const QStringList& made, QObject* parent = nullptr);

    // Lays the watch, and builds at once if a source is newer than the latest build (saved
    // while this program was starting). Apart from the constructor, so that a program that
    // has a session to replay first shows it and only then walks the source tree.
    void start();

    // The build's whole output, the latest build's last.
    const QString& log() const { return log_; }
    // The first error of a build's output: "FILE:LINE:COLUMN: message" where the compiler
    // says so, otherwise the first line that says "error"; empty if there is none.
    static QString firstError(const QString& output);

signals:
    void building();
    // A new program is ready; `seconds` from the save to the end of the build.
    void built(double seconds);
    // The build succeeded without making a new program (a file that is not part of it).
    void upToDate();
    void failed(const QString& first_error);

private:
    void arm();
    void saved();
    void build();
    void finished(int exit_code, QProcess::ExitStatus status);
    QString madeStamp() const;

    QStringList folders_;
    QString build_dir_;
    QString target_;
    QStringList made_;
    QString made_stamp_;
    QFileSystemWatcher watcher_;
    QTimer quiet_;
    QProcess process_;
    QElapsedTimer since_save_;
    QString log_;
    bool again_ = false;
    bool quietly_ = false; // the check at start: a build with nothing to make says nothing
    bool started_ = false;
};

// Where the watch notes what it does, with the wall clock in milliseconds, for measuring the
// time from a save to the new frame: the file named by TXM9_WATCH_LOG, or nowhere.
void noteWatchEvent(const QString& event, const QString& detail = {});
