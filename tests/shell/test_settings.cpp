// Stored settings and small helpers: number and text values, the profile file filter, the
// command line options.
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "shell/RegSetting.h"
#include "shell/VarnelApp.h"
#include "shell/VarnelDlg.h"

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void readNumber_data()
    {
        QTest::addColumn<QString>("stored");  // "<missing>": no value at all
        QTest::addColumn<int>("expected");
        QTest::newRow("missing") << "<missing>" << 5;
        QTest::newRow("empty reads as the default") << "" << 5;
        QTest::newRow("letters only read as 0") << "abc" << 0;
        QTest::newRow("leading digits") << "12abc" << 12;
        QTest::newRow("blanks and sign") << "  -3" << -3;
        QTest::newRow("plus") << "+7" << 7;
        QTest::newRow("too large saturates") << "99999999999999" << 2147483647;
        QTest::newRow("too small saturates") << "-99999999999999" << (-2147483647 - 1);
    }
    void readNumber()
    {
        QFETCH(QString, stored);
        QFETCH(int, expected);
        QTemporaryDir dir;
        const QString ini = dir.filePath("s.ini");
        CRegSetting reg(ini);
        if (stored != "<missing>") reg.WriteText("BPSSEL0", stored);
        QCOMPARE(reg.ReadNumber("BPSSEL0", 5), expected);
    }

    void valuesRoundTripAsText()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath("s.ini");
        {
            CRegSetting reg(ini);
            reg.WriteNumber("COMMPORT0", 11);
            reg.WriteText("SVRIP", "");  // an empty password is stored too
            reg.WriteText("LOCALNUM", QString(150, QChar(u'ж')));
        }
        CRegSetting reg(ini);
        QCOMPARE(reg.ReadText("COMMPORT0"), QStringLiteral("11"));  // numbers are stored as decimal text
        QSettings raw(ini, QSettings::IniFormat);
        QVERIFY(raw.contains("SVRIP"));
        QCOMPARE(reg.ReadText("SVRIP"), QString());
        QCOMPARE(reg.ReadText("IPADDRESS"), QString());
        // A long text is read with at most 100 bytes, never half a character.
        QCOMPARE(reg.ReadText("LOCALNUM"), QString(50, QChar(u'ж')));
    }

    // The store holds the console password: only its owner may read it, also after several
    // saves and when an older store was readable by everyone.
    void storeIsPrivate_data()
    {
        QTest::addColumn<bool>("existedOpen");
        QTest::addColumn<QString>("subdir");
        QTest::newRow("new store") << false << "";
        QTest::newRow("new store in a new folder") << false << "cfg/rtuconfig";
        QTest::newRow("store readable by everyone") << true << "";
    }
    void storeIsPrivate()
    {
        QFETCH(bool, existedOpen);
        QFETCH(QString, subdir);
        QTemporaryDir dir;
        const QString ini = dir.filePath(subdir.isEmpty() ? "s.ini" : subdir + "/s.ini");
        if (existedOpen) {
            QFile f(ini);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("[General]\nBPSSEL0=3\n");
            f.close();
            QVERIFY(f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
        }
        CRegSetting reg(ini);
        QCOMPARE(reg.FilePath(), ini);
        reg.WriteText("SVRIP", "secret words");
        reg.WriteNumber("BPSSEL0", 4);
        QCOMPARE(QFile::permissions(ini), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        QCOMPARE(reg.ReadText("SVRIP"), QStringLiteral("secret words"));
    }

    void profileFilter()
    {
        QCOMPARE(CVarnelDlg::QtFilter(QString::fromLatin1(CVarnelDlg::kProfileFilter)),
                 QStringLiteral("TXT files (*.txt);;All files (*)"));
        QCOMPARE(CVarnelDlg::QtFilter("(*.wav)|*.wav|(*.*)|*.*|"), QStringLiteral("WAV files (*.wav);;All files (*)"));
        QCOMPARE(CVarnelDlg::QtFilter("Logs|*.csv;*.txt|"), QStringLiteral("Logs (*.csv *.txt)"));
    }

    void options_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("port");
        QTest::addColumn<bool>("demo");
        QTest::newRow("none") << QStringList{"rtuconfig"} << true << "" << false;
        QTest::newRow("port") << QStringList{"rtuconfig", "--port", "/dev/pts/9"} << true << "/dev/pts/9" << false;
        QTest::newRow("demo") << QStringList{"rtuconfig", "--demo"} << true << "" << true;
        QTest::newRow("both") << QStringList{"rtuconfig", "--demo", "--port", "/dev/x"} << false << "" << false;
        QTest::newRow("stray argument") << QStringList{"rtuconfig", "COM3"} << false << "" << false;
        QTest::newRow("unknown option") << QStringList{"rtuconfig", "--colour"} << false << "" << false;
    }
    void options()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, ok);
        QFETCH(QString, port);
        QFETCH(bool, demo);
        CShellOptions opts;
        QString error;
        QCOMPARE(CVarnelApp::ParseOptions(args, opts, error), ok);
        QCOMPARE(error.isEmpty(), ok);
        if (!ok) return;
        QCOMPARE(opts.port, port);
        QCOMPARE(opts.demo, demo);
    }
};

std::unique_ptr<QObject> MakeSettingsTest() { return std::make_unique<TestSettings>(); }

#include "test_settings.moc"
