#include "shell/VarnelApp.h"

#include <QCommandLineParser>
#include <QMessageBox>
#include <QTimer>

#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "link/OutputPath.h"
#include "shell/QuitOnSignal.h"
#include "shell/RegSetting.h"
#include "shell/SimProcess.h"
#include "shell/VarnelDlg.h"

namespace {

void SetNames()
{
    QCoreApplication::setOrganizationName(QString::fromLatin1(CRegSetting::kOrganization));
    QCoreApplication::setApplicationName(QStringLiteral("rtuconfig"));
#ifdef RTU_VERSION
    QCoreApplication::setApplicationVersion(QStringLiteral(RTU_VERSION));
#endif
}

// The command line's options.
struct OptionParser {
    QCommandLineParser parser;
    const QCommandLineOption port{QStringLiteral("port"), QStringLiteral("Serial port to open (a device path)."),
                                  QStringLiteral("PATH")};
    const QCommandLineOption demo{QStringLiteral("demo"), QStringLiteral("Start a simulated unit and connect to it.")};
    const QCommandLineOption catalog{QStringLiteral("catalog"),
                                     QStringLiteral("Text catalog to use instead of gsm.ini."), QStringLiteral("FILE")};
    const QCommandLineOption settings{QStringLiteral("settings"),
                                      QStringLiteral("Keep the stored settings in this INI file."),
                                      QStringLiteral("FILE")};
    OptionParser()
    {
        parser.setApplicationDescription(
            QStringLiteral("Configuration and service tool for the GPRS RTU telemetry unit"));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOptions({port, demo, catalog, settings});
    }
};

// The settings file is read and rewritten as a whole: only a regular file (or a new name) will
// do. A FIFO would hold the start up for good, a device would be written into.
bool UsableSettingsFile(const QString& file, QString& error)
{
    if (file.isEmpty()) return true;
    rtu::OutputTarget target;
    std::string reason;
    if (!rtu::ResolveOutputPath(file.toStdString(), target, reason)) {
        error = QStringLiteral("the settings file %1 %2").arg(file, QString::fromStdString(reason));
        return false;
    }
    if (target.exists && !S_ISREG(target.st.st_mode)) {
        error = QStringLiteral("the settings file %1 is %2; give a regular file (or a new name)")
                    .arg(file, QString::fromLatin1(rtu::FileKind(target.st.st_mode)));
        return false;
    }
    return true;
}

}  // namespace

CVarnelApp::CVarnelApp(int& argc, char** argv) : QApplication(argc, argv) { SetNames(); }

int CVarnelApp::AnswerWithoutWindow(int& argc, char** argv)
{
    // Options of the window system (e.g. -platform) are taken out by the application later:
    // only help and version are looked for here.
    static const QStringList kEarly{QStringLiteral("-h"), QStringLiteral("--help"), QStringLiteral("--help-all"),
                                    QStringLiteral("-?"), QStringLiteral("-v"),     QStringLiteral("--version")};
    bool early = false;
    for (int i = 1; i < argc && !early; ++i) early = kEarly.contains(QString::fromLocal8Bit(argv[i]));
    if (!early) return kOpenWindow;
    // Help and version end the program in the parser; they need the core application only.
    QCoreApplication core(argc, argv);
    SetNames();
    CShellOptions out;
    QString error;
    if (ParseOptions(QCoreApplication::arguments(), out, error)) return kOpenWindow;
    std::fprintf(stderr, "rtuconfig: %s\n", qPrintable(error));
    return kUsageError;
}

bool CVarnelApp::ParseOptions(const QStringList& args, CShellOptions& out, QString& error)
{
    OptionParser options;
    QCommandLineParser& parser = options.parser;
    if (!parser.parse(args)) {
        error = parser.errorText();
        return false;
    }
    if (parser.isSet(QStringLiteral("help"))) parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version"))) parser.showVersion();
    if (!parser.positionalArguments().isEmpty()) {
        error = QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().first());
        return false;
    }
    out.port = parser.value(options.port);
    out.demo = parser.isSet(options.demo);
    out.catalog = parser.value(options.catalog);
    out.settingsFile = parser.value(options.settings);
    if (out.demo && !out.port.isEmpty()) {
        error = QStringLiteral("--demo and --port exclude each other");
        return false;
    }
    return true;
}

int CVarnelApp::Run()
{
    CShellOptions options;
    QString error;
    if (!ParseOptions(arguments(), options, error) || !UsableSettingsFile(options.settingsFile, error)) {
        std::fprintf(stderr, "rtuconfig: %s\n", qPrintable(error));
        return kUsageError;
    }

    rtu::CTextCatalog catalog;
    if (!options.catalog.isEmpty()) catalog.Load(options.catalog.toStdString());
    else catalog.LoadDefault(applicationDirPath().toStdString());

    CQuitOnSignal quitOnSignal;  // SIGINT, SIGTERM and SIGHUP close the tool like its window
    CRegSetting settings(options.settingsFile);
    CVarnelDlg dlg(settings, catalog);
    CSimProcess sim;

    if (options.demo) {
        dlg.StartUp({}, false);
        QObject::connect(&sim, &CSimProcess::ptyReady, &dlg, [&dlg](const QString& path) {
            dlg.UseDemoPort(path, CSimProcess::kDemoBaud);
            dlg.RunCommand(rtu::cmd::kReload);  // the start-up reload went out before the unit was there
        });
        QObject::connect(&sim, &CSimProcess::failed, &dlg,
                         [&dlg](const QString& reason) { dlg.ShowStatus(QStringLiteral("Simulator: ") + reason); });
        sim.Start(CSimProcess::ProgramBeside(applicationDirPath()), CSimProcess::DemoArgs());
    } else {
        dlg.StartUp(options.port);
    }
    dlg.showMaximized();
    const int rc = exec();
    sim.Stop();
    return rc;
}
