#include "shell/VarnelApp.h"

#include <QCommandLineParser>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

#include "shell/QuitOnSignal.h"
#include "shell/RegSetting.h"
#include "shell/SimProcess.h"
#include "shell/VarnelDlg.h"

CVarnelApp::CVarnelApp(int& argc, char** argv) : QApplication(argc, argv)
{
    setOrganizationName(QString::fromLatin1(CRegSetting::kOrganization));
    setApplicationName(QStringLiteral("rtuconfig"));
#ifdef RTU_VERSION
    setApplicationVersion(QStringLiteral(RTU_VERSION));
#endif
}

bool CVarnelApp::ParseOptions(const QStringList& args, CShellOptions& out, QString& error)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Configuration and service tool for the GPRS RTU telemetry unit"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Serial port to open (a device path)."),
                                  QStringLiteral("PATH"));
    const QCommandLineOption demo(QStringLiteral("demo"), QStringLiteral("Start a simulated unit and connect to it."));
    const QCommandLineOption catalog(QStringLiteral("catalog"), QStringLiteral("Text catalog to use instead of gsm.ini."),
                                     QStringLiteral("FILE"));
    const QCommandLineOption settings(QStringLiteral("settings"),
                                      QStringLiteral("Keep the stored settings in this INI file."), QStringLiteral("FILE"));
    parser.addOptions({port, demo, catalog, settings});
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
    out.port = parser.value(port);
    out.demo = parser.isSet(demo);
    out.catalog = parser.value(catalog);
    out.settingsFile = parser.value(settings);
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
    if (!ParseOptions(arguments(), options, error)) {
        std::fprintf(stderr, "rtuconfig: %s\n", qPrintable(error));
        return 2;
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
            dlg.UsePort(path);
            dlg.RunCommand(rtu::cmd::kReload);  // the start-up reload went out before the unit was there
        });
        QObject::connect(&sim, &CSimProcess::failed, &dlg, [&dlg](const QString& reason) {
            dlg.ShowStatus(QStringLiteral("Simulator: ") + reason);
        });
        sim.Start(CSimProcess::ProgramBeside(applicationDirPath()));
    } else {
        dlg.StartUp(options.port);
    }
    dlg.showMaximized();
    const int rc = exec();
    sim.Stop();
    return rc;
}
