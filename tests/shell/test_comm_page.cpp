// The test console widget over a real session and its driver, whose port is a byte log: what goes out for
// typed text and test buttons, what the receive pane shows, which test buttons each product
// type shows, the stored test numbers, and a sound download against a scripted unit.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
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
#include "shell/SessionDriver.h"

using namespace rtu;

class TestCommPage : public QObject {
    Q_OBJECT

private:
    template <class T>
    T* Find(const QString& name)
    {
        T* w = view_->findChild<T*>(name);
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
        for (const auto& w : writes_) all += w;
        return all;
    }
    QString SettingsPath() const { return dir_->filePath(QStringLiteral("settings.ini")); }
    void Build()
    {
        view_.reset();
        driver_.reset();
        session_ = std::make_unique<CSession>(
            [this](std::string_view b) {
                writes_.emplace_back(b);
                return true;
            },
            [] { return Millis{0}; }, &catalog_);
        driver_ = std::make_unique<CSessionDriver>(*session_, [] { return Millis{0}; });
        // The main window's part: the messages the user would see.
        QObject::connect(driver_.get(), &CSessionDriver::messageRequested, driver_.get(),
                         [this](int, const QString& text) { messages_.push_back(text.toStdString()); });
        settings_ = std::make_unique<CRegSetting>(SettingsPath());
        view_ = std::make_unique<CCommPageView>(*driver_, *settings_);
        writes_.clear();
        messages_.clear();
    }
    void Receive(std::string_view bytes) { driver_->HandleReceive(bytes); }

    std::unique_ptr<QTemporaryDir> dir_;
    CTextCatalog catalog_;
    std::vector<std::string> messages_;
    std::vector<std::string> writes_;
    std::unique_ptr<CSession> session_;
    std::unique_ptr<CSessionDriver> driver_;
    std::unique_ptr<CRegSetting> settings_;
    std::unique_ptr<CCommPageView> view_;

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QFile catalog(dir_->filePath(QStringLiteral("gsm.ini")));
        QVERIFY(catalog.open(QIODevice::WriteOnly));
        catalog.write("[Buttons]\nCommBtnSend=Send it\n");
        catalog.close();
        QVERIFY(catalog_.Load(catalog.fileName().toStdString()));
        Build();
    }
    void cleanup()
    {
        view_.reset();
        driver_.reset();
        session_.reset();
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
        view_->StoreSettings();
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
            writes_.clear();
            Click(comm::id::kClear);
            Receive("earlier\r\n");
            results->addTopLevelItem(new QTreeWidgetItem(QStringList{QStringLiteral("GPIO"), QStringLiteral("OK")}));
            Click(command.id);
            ++pressed;
            QVERIFY2(writes_ == comm::CommandBlocks(command, numbers), name.constData());
            QVERIFY2(Received().startsWith(QStringLiteral("earlier")) == !command.clears, name.constData());
            QVERIFY2((results->topLevelItemCount() == 0) == (command.action == comm::Action::ClearResults),
                     name.constData());
            results->clear();
        }
        QVERIFY(pressed > 25);
        QVERIFY(messages_.empty());
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
            QVERIFY(writes_.empty());
            QTRY_COMPARE(messages_, std::vector<std::string>{"请输入测试号!"});
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
        QCOMPARE(writes_, (std::vector<std::string>{"%IFLEDON\r", "%IFLEDOFF\r"}));
    }

    // The widgets follow the visibility table for every type, number rows included.
    void productTypeShowsButtons()
    {
        QSignalSpy mms(view_.get(), &CCommPageView::MmsTestWindowRequested);
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
        const QString path = dir_->filePath(QStringLiteral("bell.wav"));
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(file);
        out.close();

        auto* download = Control<QPushButton>(comm::id::kDownload);
        auto* send = Control<QPushButton>(comm::id::kSend);
        QVERIFY(!download->isEnabled());  // no slot chosen yet
        Control<QComboBox>(comm::id::kSoundSlot)->setCurrentIndex(2);
        QVERIFY(download->isEnabled());

        QSignalSpy status(driver_.get(), &CSessionDriver::statusText);
        QVERIFY(view_->StartSoundUpload(path));
        QCOMPARE(writes_, std::vector<std::string>{"%mdfile=din2_alarm.wav,600,5\r"});
        QVERIFY(!send->isEnabled() && !download->isEnabled());
        QVERIFY(!view_->StartSoundUpload(path));  // one at a time

        Receive("$CONNECTED\r\n");
        QTRY_COMPARE(writes_.size(), std::size_t{2});
        Receive("+RECV:256\r\n");
        QTRY_COMPARE(writes_.size(), std::size_t{3});
        Receive("+RECV:256\r\n");
        QTRY_COMPARE(writes_.size(), std::size_t{4});
        QVERIFY(messages_.empty());
        Receive("+RECV:88\r\nFILEUPL OK\r\n");
        QTRY_COMPARE(messages_.size(), std::size_t{1});

        QCOMPARE(messages_.front(), std::string(CSoundUpload::kDownloadOk));
        QCOMPARE(QByteArray::fromStdString(writes_[1] + writes_[2] + writes_[3]), file);
        QCOMPARE(Received(), QStringLiteral("$CONNECTED\nWrite 256Bytes\n+RECV:256\nWrite 256Bytes\n+RECV:256\n"
                                            "Write 88Bytes\n+RECV:88\nFILEUPL OK\n"));
        QCOMPARE(status.last().at(0).toString(), QStringLiteral("File upload Ok"));
        QCOMPARE(Find<QLabel>(QStringLiteral("comm_upload_status"))->text(), QStringLiteral("File upload Ok"));
        QVERIFY(send->isEnabled() && download->isEnabled());

        messages_.clear();
        QVERIFY(!view_->StartSoundUpload(dir_->filePath(QStringLiteral("missing.wav"))));
        QTRY_COMPARE(messages_, std::vector<std::string>{"open wav file error!"});
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
