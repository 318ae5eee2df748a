// The test console widget over a real session whose port is a byte log: what goes out for
// typed text and test buttons, what the receive pane shows, which test buttons each product
// type shows, the stored test numbers, and a sound download against a scripted unit.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <memory>
#include <string>
#include <vector>

#include "session/CommTestCommands.h"
#include "session/Session.h"
#include "session/SoundUpload.h"
#include "shell/CommPageView.h"
#include "shell/RegSetting.h"

using namespace rtu;

namespace {

// The main window's part: chunks to the console, messages collected.
struct Observer : ILinkObserver {
    void OnConsoleChunk(std::string_view bytes) override
    {
        if (view) view->AppendReceived(bytes);
    }
    void OnMessage(MessageIcon, const std::string& text) override { messages.push_back(text); }
    CCommPageView* view = nullptr;
    std::vector<std::string> messages;
};

}  // namespace

class TestCommPage : public QObject {
    Q_OBJECT

private:
    template <class T>
    T* Find(const QString& name)
    {
        T* w = m_view->findChild<T*>(name);
        if (!w) qFatal("no control %s", qPrintable(name));
        return w;
    }
    template <class T>
    T* Control(int id) { return Find<T>(QStringLiteral("comm_%1").arg(id)); }
    QString Received() { return Control<QPlainTextEdit>(comm::id::kReceivePane)->toPlainText(); }
    void Click(int id) { Control<QPushButton>(id)->click(); }
    std::string Wire() const
    {
        std::string all;
        for (const auto& w : m_writes) all += w;
        return all;
    }
    QString SettingsPath() const { return m_dir->filePath(QStringLiteral("settings.ini")); }
    void Build()
    {
        m_view.reset();
        m_session = std::make_unique<CSession>(
            [this](std::string_view b) {
                m_writes.emplace_back(b);
                return true;
            },
            [] { return Millis{0}; }, &m_observer, &m_catalog);
        m_settings = std::make_unique<CRegSetting>(SettingsPath());
        m_view = std::make_unique<CCommPageView>(*m_session, *m_settings);
        m_observer.view = m_view.get();
        m_writes.clear();
        m_observer.messages.clear();
    }
    void Receive(std::string_view bytes) { m_session->Link().HandleReceive(bytes); }

    std::unique_ptr<QTemporaryDir> m_dir;
    CTextCatalog m_catalog;
    Observer m_observer;
    std::vector<std::string> m_writes;
    std::unique_ptr<CSession> m_session;
    std::unique_ptr<CRegSetting> m_settings;
    std::unique_ptr<CCommPageView> m_view;

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QFile catalog(m_dir->filePath(QStringLiteral("gsm.ini")));
        QVERIFY(catalog.open(QIODevice::WriteOnly));
        catalog.write("[Buttons]\nCommRecv=Received\nCommBtnSend=Send it\nCommBtnAutoClr=Auto clear\n");
        catalog.close();
        QVERIFY(m_catalog.Load(catalog.fileName().toStdString()));
        Build();
    }
    void cleanup()
    {
        m_observer.view = nullptr;
        m_view.reset();
        m_session.reset();
    }

    void builtState()
    {
        QCOMPARE(Control<QPushButton>(comm::id::kSend)->text(), QStringLiteral("Send it"));
        QCOMPARE(Control<QPushButton>(comm::id::kClear)->text(), QString());  // no catalog text
        QVERIFY(Control<QCheckBox>(comm::id::kAutoClear)->isChecked());
        QVERIFY(!Find<QCheckBox>(QStringLiteral("comm_service_tests"))->isChecked());
        QVERIFY(Find<QWidget>(QStringLiteral("comm_test_panel"))->isHidden());
        Find<QCheckBox>(QStringLiteral("comm_service_tests"))->setChecked(true);
        QVERIFY(!Find<QWidget>(QStringLiteral("comm_test_panel"))->isHidden());
        QCOMPARE(Control<QComboBox>(comm::id::kProductType)->currentIndex(), -1);
        QCOMPARE(Control<QComboBox>(comm::id::kSoundSlot)->count(), CSoundUpload::kInputSlots);
    }

    void testNumbersStored()
    {
        QCOMPARE(Control<QLineEdit>(comm::id::kVoiceNumber)->text(), QStringLiteral("8008"));  // nothing stored
        QCOMPARE(Control<QLineEdit>(comm::id::kSmsNumber)->text(), QString());

        Control<QLineEdit>(comm::id::kSmsNumber)->setText(QStringLiteral("13800138000"));
        Control<QLineEdit>(comm::id::kVoiceNumber)->setText(QStringLiteral("10086"));
        Control<QLineEdit>(comm::id::kMmsNumber)->setText(QStringLiteral("13900139000"));
        m_view->StoreSettings();
        CRegSetting store(SettingsPath());
        QCOMPARE(store.ReadText(QStringLiteral("LOCALNUM")), QStringLiteral("13800138000"));
        QCOMPARE(store.ReadText(QStringLiteral("SVRPORT")), QStringLiteral("10086"));
        QCOMPARE(store.ReadText(QStringLiteral("IPADDRESS")), QStringLiteral("13900139000"));

        Build();  // the next run starts from them
        QCOMPARE(Control<QLineEdit>(comm::id::kSmsNumber)->text(), QStringLiteral("13800138000"));
        QCOMPARE(Control<QLineEdit>(comm::id::kVoiceNumber)->text(), QStringLiteral("10086"));
        QCOMPARE(Control<QLineEdit>(comm::id::kMmsNumber)->text(), QStringLiteral("13900139000"));
    }

    void sendAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("wire");
        QTest::newRow("no carriage return added") << QStringLiteral("%DUMPS") << QByteArray("%DUMPS");
        QTest::newRow("Enter is a line break") << QStringLiteral("%A\n%B\n") << QByteArray("%A\r\n%B\r\n");
        QTest::newRow("percent signs as typed") << QStringLiteral("%%%%") << QByteArray("%%%%");
        QTest::newRow("UTF-8") << QStringLiteral("测试") << QByteArray("\xe6\xb5\x8b\xe8\xaf\x95");
        QTest::newRow("empty") << QString() << QByteArray();
    }
    void sendAsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(QByteArray, wire);
        Control<QPlainTextEdit>(comm::id::kSendPane)->setPlainText(typed);
        Click(comm::id::kSend);
        QCOMPARE(QByteArray::fromStdString(Wire()), wire);
    }

    void receivePane()
    {
        Receive(std::string("$CSQ 21\0,0\r\n", 12));
        QCOMPARE(Received(), QStringLiteral("$CSQ 21 ,0\n"));
        Receive("half a li");
        Receive("ne\r");
        Receive("\nnext");
        QCOMPARE(Received(), QStringLiteral("$CSQ 21 ,0\nhalf a line\nnext"));
        Click(comm::id::kClear);
        QCOMPARE(Received(), QString());
    }

    void autoClear_data()
    {
        QTest::addColumn<bool>("autoClear");
        QTest::newRow("on") << true;
        QTest::newRow("off") << false;
    }
    void autoClear()
    {
        QFETCH(bool, autoClear);
        Control<QCheckBox>(comm::id::kAutoClear)->setChecked(autoClear);
        auto* pane = Control<QPlainTextEdit>(comm::id::kReceivePane);
        for (int i = 0; i < comm::kAutoClearLines - 2; ++i) Receive("line\r\n");
        QCOMPARE(pane->document()->blockCount(), comm::kAutoClearLines - 1);
        Receive("the block that reaches the bound\r\n");
        if (autoClear) {
            QCOMPARE(Received(), QString());
            Receive("after\r\n");
            QCOMPARE(Received(), QStringLiteral("after\n"));
        } else {
            QVERIFY(Received().endsWith(QStringLiteral("the block that reaches the bound\n")));
        }
    }

    // Every button with lines: what goes out, and whether the receive pane was emptied first.
    void testButtons()
    {
        Control<QLineEdit>(comm::id::kSmsNumber)->setText(QStringLiteral("13800138000"));
        Control<QLineEdit>(comm::id::kVoiceNumber)->setText(QStringLiteral("8008"));
        Control<QLineEdit>(comm::id::kMmsNumber)->setText(QStringLiteral("13900139000"));
        const comm::TestNumbers numbers{"13800138000", "8008", "13900139000"};
        int pressed = 0;
        for (const comm::TestCommand& command : comm::TestCommands()) {
            if (command.action != comm::Action::Send && command.action != comm::Action::ClearResults &&
                command.action != comm::Action::FlashNote)
                continue;
            const QByteArray name = QByteArray::number(command.id);
            m_writes.clear();
            Click(comm::id::kClear);
            Receive("earlier\r\n");
            Click(command.id);
            ++pressed;
            QCOMPARE(m_writes, comm::CommandBlocks(command, numbers));
            QVERIFY2(!m_writes.empty(), name.constData());
            const bool kept = Received().startsWith(QStringLiteral("earlier"));
            QVERIFY2(kept == !command.clears, name.constData());
        }
        QVERIFY(pressed > 25);
        QVERIFY(m_observer.messages.empty());

        m_writes.clear();
        Click(1031);
        QCOMPARE(Wire(), std::string("%TEST\r"));
        m_writes.clear();
        Click(1036);
        QCOMPARE(Wire(), std::string("%MSEND\"13900139000\"\r"));
    }

    void flashTestNote()
    {
        Receive("earlier\r\n");
        Click(comm::id::kFlashTest);
        QCOMPARE(Wire(), std::string("%TESTFLASH\r"));
        QCOMPARE(Received(), QStringLiteral("earlier\n") + QString::fromUtf8("测试Flash后请重新 ATF!!!!!!!!!\n"));
    }

    void emptyNumberSendsNothing_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("edit");
        QTest::newRow("SMS") << 1030 << comm::id::kSmsNumber;
        QTest::newRow("voice") << 1032 << comm::id::kVoiceNumber;
        QTest::newRow("MMS") << 1036 << comm::id::kMmsNumber;
    }
    void emptyNumberSendsNothing()
    {
        QFETCH(int, button);
        QFETCH(int, edit);
        Control<QLineEdit>(edit)->clear();
        Receive("kept\r\n");
        Click(button);
        QVERIFY(m_writes.empty());
        QCOMPARE(m_observer.messages, std::vector<std::string>{"请输入测试号!"});
        QCOMPARE(Received(), QStringLiteral("kept\n"));
    }

    void infraredToggles()
    {
        auto* button = Control<QPushButton>(comm::id::kInfrared);
        QCOMPARE(button->text(), QStringLiteral("开红外"));
        button->click();
        QCOMPARE(button->text(), QStringLiteral("关红外"));
        button->click();
        QCOMPARE(button->text(), QStringLiteral("开红外"));
        QCOMPARE(m_writes, (std::vector<std::string>{"%IFLEDON\r", "%IFLEDOFF\r"}));
    }

    void atfEmptiesResults()
    {
        auto* list = Find<QTreeWidget>(QStringLiteral("comm_result_list"));
        list->addTopLevelItem(new QTreeWidgetItem(QStringList{QStringLiteral("GPIO"), QStringLiteral("OK")}));
        Control<QLineEdit>(comm::id::kResultEdit)->setText(QStringLiteral("note"));
        Click(comm::id::kAtf);
        QCOMPARE(list->topLevelItemCount(), 0);
        QCOMPARE(Control<QLineEdit>(comm::id::kResultEdit)->text(), QString());
        QCOMPARE(Wire(), std::string("%ATF\r"));
    }

    void productTypeShowsButtons_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QList<int>>("shown");
        QTest::addColumn<QList<int>>("hidden");
        QTest::newRow("basic") << 0 << QList<int>{1031, 1030, 1251, 1017} << QList<int>{1012, 1036, 1015, 1019, 1442};
        QTest::newRow("analog") << 1 << QList<int>{1012, 1018} << QList<int>{1036, 1253, 1034};
        QTest::newRow("camera full") << 2 << QList<int>{1036, 1253, 1442, 1032, 1044} << QList<int>{1013, 1012};
        QTest::newRow("camera installed") << 3 << QList<int>{1036, 1043, 1033} << QList<int>{1032, 1252, 1031, 1013};
        QTest::newRow("external temperature") << 4 << QList<int>{1019, 1012} << QList<int>{1015, 1036};
        QTest::newRow("RF") << 5 << QList<int>{1015, 1016, 1034, 1035} << QList<int>{1036, 1442, 1012};
    }
    void productTypeShowsButtons()
    {
        QFETCH(int, type);
        QFETCH(QList<int>, shown);
        QFETCH(QList<int>, hidden);
        auto groupWidget = [this](int id) -> QWidget* {
            if (id == comm::id::kSmsNumber || id == comm::id::kVoiceNumber || id == comm::id::kMmsNumber)
                return Find<QWidget>(QStringLiteral("comm_row_%1").arg(id));
            return Control<QWidget>(id);
        };
        for (int id : shown) QVERIFY2(groupWidget(id)->isHidden(), "shown before a type was chosen");

        QSignalSpy mms(m_view.get(), &CCommPageView::MmsTestWindowRequested);
        auto* combo = Control<QComboBox>(comm::id::kProductType);
        combo->setCurrentIndex(type);
        emit combo->activated(type);
        for (int id : shown) QVERIFY2(!groupWidget(id)->isHidden(), qPrintable(QString::number(id)));
        for (int id : hidden) QVERIFY2(groupWidget(id)->isHidden(), qPrintable(QString::number(id)));
        for (int never : {1048, 1039, 1041, 1045, 1046, 1038, 1050, 1051, 1449})
            QVERIFY2(Control<QWidget>(never)->isHidden(), qPrintable(QString::number(never)));
        QCOMPARE(mms.count(), type == 2 || type == 3 ? 1 : 0);
    }

    void soundDownload()
    {
        QByteArray file(600, '\0');
        for (int i = 0; i < file.size(); ++i) file[i] = static_cast<char>(i * 13 + 1);
        const QString path = m_dir->filePath(QStringLiteral("bell.wav"));
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(file);
        out.close();

        auto* download = Control<QPushButton>(comm::id::kDownload);
        auto* send = Control<QPushButton>(comm::id::kSend);
        QVERIFY(!download->isEnabled());  // no slot chosen yet
        Control<QComboBox>(comm::id::kSoundSlot)->setCurrentIndex(2);
        QVERIFY(download->isEnabled());

        QSignalSpy status(m_view.get(), &CCommPageView::StatusLine);
        QVERIFY(m_view->StartSoundUpload(path));
        QCOMPARE(m_writes, std::vector<std::string>{"%mdfile=din2_alarm.wav,600,5\r"});
        QVERIFY(!send->isEnabled());
        QVERIFY(!download->isEnabled());
        QVERIFY(!m_view->StartSoundUpload(path));  // one at a time

        Receive("$CONNECTED\r\n");
        QTRY_COMPARE(m_writes.size(), std::size_t{2});
        Receive("+RECV:256\r\n");
        QTRY_COMPARE(m_writes.size(), std::size_t{3});
        Receive("+RECV:256\r\n");
        QTRY_COMPARE(m_writes.size(), std::size_t{4});
        QVERIFY(m_observer.messages.empty());
        Receive("+RECV:88\r\nFILEUPL OK\r\n");
        QTRY_COMPARE(m_observer.messages.size(), std::size_t{1});

        QCOMPARE(m_observer.messages.front(), std::string(CSoundUpload::kDownloadOk));
        QCOMPARE(QByteArray::fromStdString(m_writes[1] + m_writes[2] + m_writes[3]), file);
        QCOMPARE(Received(), QStringLiteral("$CONNECTED\nWrite 256Bytes\n+RECV:256\nWrite 256Bytes\n+RECV:256\n"
                                            "Write 88Bytes\n+RECV:88\nFILEUPL OK\n"));
        QCOMPARE(status.last().at(0).toString(), QStringLiteral("File upload Ok"));
        QVERIFY(send->isEnabled());
        QVERIFY(download->isEnabled());
    }

    void soundDownloadStoppedByUnit()
    {
        const QString path = m_dir->filePath(QStringLiteral("bell.wav"));
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(QByteArray(1000, 'x'));
        out.close();
        Control<QComboBox>(comm::id::kSoundSlot)->setCurrentIndex(0);
        QVERIFY(m_view->StartSoundUpload(path));
        Receive("$CONNECTED\r\n");
        QTRY_COMPARE(m_writes.size(), std::size_t{2});
        Receive("CMD ERR\r\n");
        QTRY_COMPARE(m_observer.messages.size(), std::size_t{1});
        QCOMPARE(m_observer.messages.front(), std::string(CSoundUpload::kDownloadError));
        QCOMPARE(m_writes.size(), std::size_t{2});
    }

    void soundFileThatCannotBeOpened()
    {
        Control<QComboBox>(comm::id::kSoundSlot)->setCurrentIndex(0);
        QVERIFY(!m_view->StartSoundUpload(m_dir->filePath(QStringLiteral("missing.wav"))));
        QCOMPARE(m_observer.messages, std::vector<std::string>{"open wav file error!"});
        QVERIFY(m_writes.empty());
    }
};

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestCommPage test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_comm_page.moc"
