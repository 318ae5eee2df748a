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
        catalog.write("[Buttons]\nCommBtnSend=Send it\n");
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

    void builtFromSettings()
    {
        QCOMPARE(Control<QPushButton>(comm::id::kSend)->text(), QStringLiteral("Send it"));
        QCOMPARE(Control<QPushButton>(comm::id::kClear)->text(), QString());  // no catalog text
        QVERIFY(Find<QWidget>(QStringLiteral("comm_test_panel"))->isHidden());
        Find<QCheckBox>(QStringLiteral("comm_service_tests"))->setChecked(true);
        QVERIFY(!Find<QWidget>(QStringLiteral("comm_test_panel"))->isHidden());
        QCOMPARE(Control<QLineEdit>(comm::id::kVoiceNumber)->text(), QStringLiteral("8008"));  // nothing stored

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
    }
    void sendAsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(QByteArray, wire);
        Control<QPlainTextEdit>(comm::id::kSendPane)->setPlainText(typed);
        Click(comm::id::kSend);
        QCOMPARE(QByteArray::fromStdString(Wire()), wire);
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
        Receive(std::string("$CSQ 21\0,0\r", 11));
        Receive("\n");
        QCOMPARE(Received(), QStringLiteral("$CSQ 21 ,0\n"));
        for (int i = 0; i < comm::kAutoClearLines - 3; ++i) Receive("line\r\n");
        QCOMPARE(Control<QPlainTextEdit>(comm::id::kReceivePane)->document()->blockCount(), comm::kAutoClearLines - 1);
        Receive("the block that reaches the bound\r\n");
        if (autoClear) QCOMPARE(Received(), QString());
        else QVERIFY(Received().endsWith(QStringLiteral("the block that reaches the bound\n")));
    }

    // Every button with lines: what goes out, whether the receive pane was emptied first,
    // and the extras (ATF empties the result panel, the flash test leaves a note).
    void testButtons()
    {
        Control<QLineEdit>(comm::id::kSmsNumber)->setText(QStringLiteral("138"));
        Control<QLineEdit>(comm::id::kMmsNumber)->setText(QStringLiteral("139"));
        const comm::TestNumbers numbers{"138", "8008", "139"};
        auto* results = Find<QTreeWidget>(QStringLiteral("comm_result_list"));
        int pressed = 0;
        for (const comm::TestCommand& command : comm::TestCommands()) {
            if (comm::CommandBlocks(command, numbers).empty()) continue;
            const QByteArray name = QByteArray::number(command.id);
            m_writes.clear();
            Click(comm::id::kClear);
            Receive("earlier\r\n");
            results->addTopLevelItem(new QTreeWidgetItem(QStringList{QStringLiteral("GPIO"), QStringLiteral("OK")}));
            Click(command.id);
            ++pressed;
            QVERIFY2(m_writes == comm::CommandBlocks(command, numbers), name.constData());
            QVERIFY2(Received().startsWith(QStringLiteral("earlier")) == !command.clears, name.constData());
            QVERIFY2((results->topLevelItemCount() == 0) == (command.action == comm::Action::ClearResults),
                     name.constData());
            results->clear();
        }
        QVERIFY(pressed > 25);
        QVERIFY(m_observer.messages.empty());
        Click(comm::id::kFlashTest);
        QVERIFY(Received().endsWith(QString::fromUtf8("测试Flash后请重新 ATF!!!!!!!!!\n")));
    }

    void emptyNumberSendsNothing()
    {
        for (auto [button, edit] : {std::pair{1030, comm::id::kSmsNumber}, std::pair{1032, comm::id::kVoiceNumber},
                                    std::pair{1036, comm::id::kMmsNumber}}) {
            Build();
            Control<QLineEdit>(edit)->clear();
            Receive("kept\r\n");
            Click(button);
            QVERIFY(m_writes.empty());
            QCOMPARE(m_observer.messages, std::vector<std::string>{"请输入测试号!"});
            QCOMPARE(Received(), QStringLiteral("kept\n"));
        }
    }

    void infraredToggles()
    {
        auto* button = Control<QPushButton>(comm::id::kInfrared);
        button->click();
        QCOMPARE(button->text(), QStringLiteral("关红外"));
        button->click();
        QCOMPARE(button->text(), QStringLiteral("开红外"));
        QCOMPARE(m_writes, (std::vector<std::string>{"%IFLEDON\r", "%IFLEDOFF\r"}));
    }

    // The widgets follow the visibility table for every type, number rows included.
    void productTypeShowsButtons()
    {
        QSignalSpy mms(m_view.get(), &CCommPageView::MmsTestWindowRequested);
        auto* combo = Control<QComboBox>(comm::id::kProductType);
        comm::Visibility expected = comm::InitialVisibility();
        for (int type : {-1, 5, 2, 3, 4, 1, 0}) {
            if (type >= 0) {
                combo->setCurrentIndex(type);
                emit combo->activated(type);
            }
            comm::ApplyProductType(type, expected);
            for (const auto& [id, shown] : expected) {
                const bool number = id == comm::id::kSmsNumber || id == comm::id::kVoiceNumber || id == comm::id::kMmsNumber;
                QWidget* w = number ? Find<QWidget>(QStringLiteral("comm_row_%1").arg(id)) : Control<QWidget>(id);
                QVERIFY2(w->isHidden() == !shown, qPrintable(QStringLiteral("type %1 control %2").arg(type).arg(id)));
            }
            for (int never : {1039, 1041, 1045, 1046, 1038, 1050, 1051, 1449}) QVERIFY(Control<QWidget>(never)->isHidden());
        }
        QCOMPARE(mms.count(), 2);  // types 2 and 3
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
        QVERIFY(!send->isEnabled() && !download->isEnabled());
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
        QVERIFY(send->isEnabled() && download->isEnabled());

        m_observer.messages.clear();
        QVERIFY(!m_view->StartSoundUpload(m_dir->filePath(QStringLiteral("missing.wav"))));
        QCOMPARE(m_observer.messages, std::vector<std::string>{"open wav file error!"});
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
