#pragma once

#include <QApplication>
#include <QString>

// Options of the desktop tool's command line.
struct CShellOptions {
    QString port;          // --port PATH: use this port instead of the stored one
    bool demo = false;     // --demo: run a simulated unit and connect to it
    QString catalog;       // --catalog FILE: this text catalog instead of gsm.ini
    QString settingsFile;  // --settings FILE: keep the settings in this INI file
};

// The application: reads the options, runs the main window and ends when it closes.
class CVarnelApp : public QApplication {
    Q_OBJECT
public:
    static constexpr int kOpenWindow = -1;  // AnswerWithoutWindow: go on with the window
    static constexpr int kUsageError = 2;   // exit code of a wrong command line

    CVarnelApp(int& argc, char** argv);
    // Answers --help and --version before the application exists, so they need no display.
    // Returns the exit code, or kOpenWindow.
    static int AnswerWithoutWindow(int& argc, char** argv);
    // Parses the options; false (with a message on stderr) when they are wrong.
    static bool ParseOptions(const QStringList& args, CShellOptions& out, QString& error);
    int Run();
};
