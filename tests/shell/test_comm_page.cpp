// The test console widget over a real session and its driver, whose port is a byte log: what goes out for
// typed text and test buttons, what the receive pane shows, which test buttons each product
// type shows, the stored test numbers, and a sound download against a scripted unit.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFontInfo>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTreeWidget>

#include <memory>
#include <string>
#include <vector>

#include "session/CommTestCommands.h"
#include "session/Session.h"
#include "session/SoundUpload.h"
#include "shell/CommPageView.h"
#include "shell/ConsoleReceivePane.h"
#include "shell/MmsTestWindow.h"
#include "shell/RegSetting.h"
#include "shell/SessionDriver.h"

using namespace rtu;

class TestCommPage : public QObject {
    Q_OBJECT

private:
    template <class T> T* Find(const QString& name)
    {
        T* w = view_->findChild<T*>(name);
        if (!w) qFatal("no control %s", qPrintable(name));
        return w;
    }
    template <class T> T* Control(int id) { return Find<T>(QStringLiteral("comm_%1").arg(id)); }
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
                if (portClosed_) return false;
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
        // The main window's part: ATF is its Defaults (here: the read that comes first), and
        // the user says yes to what asks.
        view_->runCommand = [this](int command) {
            if (command == cmd::kDefaults) session_->Reload();
        };
        view_->confirmWrite = [](const QString&) { return true; };
        writes_.clear();
        messages_.clear();
    }
    void Receive(std::string_view bytes) { driver_->HandleReceive(bytes); }

    std::unique_ptr<QTemporaryDir> dir_;
    CTextCatalog catalog_;
    std::vector<std::string> messages_;
    std::vector<std::string> writes_;
    bool portClosed_ = false;  // the port takes nothing
    std::unique_ptr<CSession> session_;
    std::unique_ptr<CSessionDriver> driver_;
    std::unique_ptr<CRegSetting> settings_;
    std::unique_ptr<CCommPageView> view_;

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        portClosed_ = false;
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
        QVERIFY(Find<QWidget>(QStringLiteral("comm_test_scroll"))->isHidden());
        Find<QCheckBox>(QStringLiteral("comm_service_tests"))->setChecked(true);
        QVERIFY(!Find<QWidget>(QStringLiteral("comm_test_scroll"))->isHidden());
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

    // Send and Enter add the chosen line end (CR LF unless chosen otherwise); Shift+Enter is a
    // line break inside the text, which goes out as that line end too. The choice is kept.
    void sendAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");  // 0: the Send button
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("lineEnd");  // -1: as built
        QTest::addColumn<QByteArray>("wire");
        QTest::newRow("Send adds CR LF") << QStringLiteral("%DUMPS") << 0 << 0 << -1 << QByteArray("%DUMPS\r\n");
        QTest::newRow("Return sends") << QStringLiteral("%TEST") << int(Qt::Key_Return) << 0 << -1
                                      << QByteArray("%TEST\r\n");
        QTest::newRow("keypad Enter sends") << QStringLiteral("%TEST") << int(Qt::Key_Enter) << int(Qt::KeypadModifier)
                                            << -1 << QByteArray("%TEST\r\n");
        QTest::newRow("Shift+Return is a line break") << QStringLiteral("%TEST") << int(Qt::Key_Return)
                                                      << int(Qt::ShiftModifier) << -1 << QByteArray("%TEST\r\n\r\n");
        QTest::newRow("no line end") << QStringLiteral("%DUMPS") << 0 << 0 << int(comm::LineEnd::None)
                                     << QByteArray("%DUMPS");
        QTest::newRow("CR") << QStringLiteral("%DUMPS") << int(Qt::Key_Return) << 0 << int(comm::LineEnd::Cr)
                            << QByteArray("%DUMPS\r");
        QTest::newRow("LF") << QStringLiteral("%DUMPS") << 0 << 0 << int(comm::LineEnd::Lf) << QByteArray("%DUMPS\n");
    }
    void sendAsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, lineEnd);
        QFETCH(QByteArray, wire);
        auto* choice = Find<QComboBox>(QStringLiteral("comm_line_end"));
        QCOMPARE(choice->currentIndex(), int(comm::LineEnd::CrLf));
        if (lineEnd >= 0) choice->setCurrentIndex(lineEnd);
        auto* pane = Control<QPlainTextEdit>(comm::id::kSendPane);
        QTest::keyClicks(pane, typed);
        if (key) QTest::keyClick(pane, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        if (!key || modifiers == int(Qt::ShiftModifier)) Click(comm::id::kSend);
        QCOMPARE(QByteArray::fromStdString(Wire()), wire);
        QCOMPARE(pane->toPlainText(), QString());  // sent: the box is empty for the next line
        Build();                                   // the next run keeps the choice
        QCOMPARE(Find<QComboBox>(QStringLiteral("comm_line_end"))->currentIndex(),
                 lineEnd >= 0 ? lineEnd : int(comm::LineEnd::CrLf));
    }

    // Up brings back what was sent, newest first; Down goes forward again and past the newest
    // returns to the text being typed.
    void historyOnUpAndDown()
    {
        auto* pane = Control<QPlainTextEdit>(comm::id::kSendPane);
        for (const char* line : {"%ONE", "%TWO", "%TWO"}) {
            QTest::keyClicks(pane, QString::fromLatin1(line));
            QTest::keyClick(pane, Qt::Key_Return);
        }
        QTest::keyClicks(pane, QStringLiteral("%DR"));
        const struct {
            Qt::Key key;
            const char* shown;
        } steps[] = {{Qt::Key_Up, "%TWO"},   {Qt::Key_Up, "%ONE"},  {Qt::Key_Up, "%ONE"},
                     {Qt::Key_Down, "%TWO"}, {Qt::Key_Down, "%DR"}, {Qt::Key_Up, "%TWO"}};
        for (const auto& step : steps) {
            QTest::keyClick(pane, step.key);
            QCOMPARE(pane->toPlainText(), QString::fromLatin1(step.shown));
        }
        writes_.clear();
        QTest::keyClick(pane, Qt::Key_Return);
        QCOMPARE(Wire(), std::string("%TWO\r\n"));
    }

    // Time stamps, the hex view and the log file: each as the user chose it, kept in the
    // settings; the log holds what the pane shows, and a log that cannot be written is said.
    void viewChoices()
    {
        auto* receive = Control<CConsoleReceivePane>(comm::id::kReceivePane);
        Find<QCheckBox>(QStringLiteral("comm_timestamps"))->setChecked(true);
        Receive("$A\r\n$B");
        Receive("C\r\n");
        const QRegularExpression stamped(QStringLiteral("^\\[\\d\\d:\\d\\d:\\d\\d\\.\\d{3}\\] \\$A\n"
                                                        "\\[\\d\\d:\\d\\d:\\d\\d\\.\\d{3}\\] \\$BC\n$"));
        QVERIFY2(stamped.match(Received()).hasMatch(), qPrintable(Received()));
        Find<QCheckBox>(QStringLiteral("comm_timestamps"))->setChecked(false);

        Find<QCheckBox>(QStringLiteral("comm_hex"))->setChecked(true);
        receive->ClearAll();
        Receive(std::string("AT\r\n\xFF", 5));
        QCOMPARE(Received(), QStringLiteral("41 54 0D 0A \nFF "));
        Receive(std::string(CConsoleReceivePane::kHexBytesPerLine, 'a'));
        // At most a line's worth of bytes on a line.
        QCOMPARE(Received().split(QLatin1Char('\n')),
                 QStringList({"41 54 0D 0A ", "FF " + QStringLiteral("61 ").repeated(15), "61 "}));

        const QString logPath = dir_->filePath(QStringLiteral("logs/console.log"));
        QString offered;
        view_->chooseLogPath = [&](const QString& start) {
            offered = start;
            return logPath;
        };
        Find<QCheckBox>(QStringLiteral("comm_hex"))->setChecked(false);
        Find<QCheckBox>(QStringLiteral("comm_log"))->setChecked(true);
        QVERIFY(receive->Logging());
        QCOMPARE(Find<QLabel>(QStringLiteral("comm_log_path"))->text(), logPath);
        Receive("$LOGGED\r\n");
        QFile log(logPath);
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(log.readAll().endsWith("$LOGGED\n"));
        // The console shows PINs and passwords: only its owner may read the log.
        QCOMPARE(QFile::permissions(logPath) & (QFile::ReadGroup | QFile::ReadOther), QFileDevice::Permissions{});
        view_->resize(1000, 600);
        QVERIFY(view_->grab().save(QStringLiteral(SHELL_TEST_OUTPUT_DIR "/rtuconfig-console.png")));
        Find<QCheckBox>(QStringLiteral("comm_log"))->setChecked(false);
        QVERIFY(!receive->Logging());

        // The choices are kept, the log's file is offered again (logging starts only when asked).
        Find<QCheckBox>(QStringLiteral("comm_timestamps"))->setChecked(true);
        Find<QCheckBox>(QStringLiteral("comm_hex"))->setChecked(true);
        Build();
        QVERIFY(Find<QCheckBox>(QStringLiteral("comm_timestamps"))->isChecked());
        QVERIFY(Find<QCheckBox>(QStringLiteral("comm_hex"))->isChecked());
        QVERIFY(!Find<QCheckBox>(QStringLiteral("comm_log"))->isChecked());
        view_->chooseLogPath = [&](const QString& start) {
            offered = start;
            return dir_->path();  // a folder: the log cannot be opened there
        };
        Find<QCheckBox>(QStringLiteral("comm_log"))->setChecked(true);
        QCOMPARE(offered, logPath);
        QVERIFY(!Find<QCheckBox>(QStringLiteral("comm_log"))->isChecked());
        driver_->Pump();
        QCOMPARE(messages_.size(), std::size_t{1});
        QVERIFY2(messages_[0].find("no longer logged") != std::string::npos, messages_[0].c_str());
    }

    // What was sent shows in the receive pane in its own colour, on a line of its own, unless
    // the echo is off; text the port refused says so. Both panes use a fixed-width font.
    void echoOfSentText_data()
    {
        QTest::addColumn<bool>("echo");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("echo on") << true << false << QStringLiteral("$READY\n%TEST\n");
        QTest::newRow("echo off") << false << false << QStringLiteral("$READY");
        QTest::newRow("port closed") << true << true
                                     << QStringLiteral("$READY\nNot sent: the port is not open or refused the text.\n");
    }
    void echoOfSentText()
    {
        QFETCH(bool, echo);
        QFETCH(bool, closed);
        QFETCH(QString, shown);
        auto* receive = Control<QPlainTextEdit>(comm::id::kReceivePane);
        QVERIFY(QFontInfo(receive->font()).fixedPitch());
        QVERIFY(QFontInfo(Control<QPlainTextEdit>(comm::id::kSendPane)->font()).fixedPitch());
        auto* toggle = Find<QCheckBox>(QStringLiteral("comm_echo"));
        QVERIFY(toggle->isChecked());
        toggle->setChecked(echo);
        portClosed_ = closed;
        Receive("$READY");  // a line still open: the echo starts a line of its own
        Control<QPlainTextEdit>(comm::id::kSendPane)->setPlainText(QStringLiteral("%TEST"));
        Click(comm::id::kSend);
        QCOMPARE(Received(), shown);
        const QTextBlock first = receive->document()->firstBlock();
        QVERIFY(first.begin().fragment().charFormat().foreground().color() != CConsoleReceivePane::kEchoColour);
        if (echo) {
            const QTextBlock second = first.next();
            QCOMPARE(second.begin().fragment().charFormat().foreground().color(), CConsoleReceivePane::kEchoColour);
        }
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
        // The block that reaches the bound stays readable, and so does the line it completes.
        Receive("CMD ");
        Receive("OK\r\nthe block that reaches the bound\r\n");
        if (autoClear) QCOMPARE(Received(), QStringLiteral("CMD OK\nthe block that reaches the bound\n"));
        else
            QVERIFY(Received().startsWith(QStringLiteral("$CSQ")) &&
                    Received().endsWith(QStringLiteral("line\nCMD OK\nthe block that reaches the bound\n")));
    }

    // Without auto clear the pane keeps the newest lines, whole, and drops the oldest.
    void longRunKeepsWholeLines()
    {
        Control<QCheckBox>(comm::id::kAutoClear)->setChecked(false);
        const int total = CConsoleReceivePane::kMaxLines + 10;
        std::string block;
        for (int i = 0; i < total; ++i) block += "line " + std::to_string(i) + "\r\n";
        Receive(block);
        auto* doc = Control<QPlainTextEdit>(comm::id::kReceivePane)->document();
        QVERIFY(doc->blockCount() <= CConsoleReceivePane::kMaxLines);
        QVERIFY(doc->firstBlock().text().startsWith(QStringLiteral("line ")));
        QVERIFY(Received().endsWith(QStringLiteral("line %1\n").arg(total - 1)));
        const int firstKept = doc->firstBlock().text().mid(5).toInt();
        QCOMPARE(Received().count(QLatin1Char('\n')), total - firstKept);
    }

    // A test's answer fills the result panel, white on black under an ordinary header; with
    // the panel shown, the receive pane keeps its height.
    void resultsOfATest()
    {
        view_->resize(1000, 700);
        view_->show();
        Find<QCheckBox>(QStringLiteral("comm_service_tests"))->setChecked(true);
        auto* combo = Control<QComboBox>(comm::id::kProductType);
        combo->setCurrentIndex(0);
        emit combo->activated(0);
        QApplication::processEvents();
        auto* receive = Control<QPlainTextEdit>(comm::id::kReceivePane);
        const int lineHeight = QFontMetrics(receive->font()).lineSpacing();
        QVERIFY(receive->height() >= CCommPageView::kMinReceiveLines * lineHeight);

        auto* results = Find<QTreeWidget>(QStringLiteral("comm_result_list"));
        Click(1031);  // I/O test
        QCOMPARE(writes_, std::vector<std::string>{"%TEST\r"});
        Receive("%TEST\r\nDIN0: OK\r\nDIN1: OPEN\r\nCMD OK\r\nunrelated: line\r\n");
        QTRY_COMPARE(results->topLevelItemCount(), 2);
        QCOMPARE(results->topLevelItem(1)->text(0), QStringLiteral("DIN1"));
        QCOMPARE(results->topLevelItem(1)->text(1), QStringLiteral("OPEN"));
        Click(1017);  // signal quality, refused
        Receive("CMD ERR\r\n");
        QTRY_COMPARE(results->topLevelItemCount(), 3);
        QCOMPARE(results->topLevelItem(2)->text(1), QStringLiteral("CMD ERR"));
        QVERIFY(results->topLevelItem(2)->text(0) == Control<QPushButton>(1017)->text());

        const QImage shot = results->grab().toImage();
        shot.save(QStringLiteral(SHELL_TEST_OUTPUT_DIR "/comm_results.png"));
        view_->grab().save(QStringLiteral(SHELL_TEST_OUTPUT_DIR "/comm_console.png"));
        const QRect header = results->header()->geometry();
        const QRect rows = results->viewport()->geometry();
        auto share = [&shot](QRect area, auto pick) {
            int hits = 0;
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x) hits += pick(QColor(shot.pixel(x, y))) ? 1 : 0;
            return double(hits) / (area.width() * area.height());
        };
        auto dark = [](QColor c) { return c.lightness() < 40; };
        auto bright = [](QColor c) { return c.lightness() > 215; };
        QVERIFY(share(header, dark) < 0.5);                                          // the header is not black
        QVERIFY(share(rows, dark) > 0.5);                                            // the rows are on black
        QVERIFY(share(rows.adjusted(0, 0, 0, -rows.height() / 2), bright) > 0.005);  // with white text
        // A test left without an answer does not take the answer to a command line of the session.
        Click(1018);
        session_->SendLine("%DUMP_SYS", 3000);
        QVERIFY(!session_->SenderIdle());
        Receive("$DID 0001\r\nPOWER: 12.1V\r\n");
        QTest::qWait(0);
        QCOMPARE(results->topLevelItemCount(), 3);
        Click(comm::id::kAtf);
        QCOMPARE(results->topLevelItemCount(), 0);
    }

    // Every button with lines: what goes out, whether the receive pane was emptied first,
    // and the extras (the flash test leaves a note).
    void testButtons()
    {
        Control<QLineEdit>(comm::id::kSmsNumber)->setText(QStringLiteral("138"));
        Control<QLineEdit>(comm::id::kMmsNumber)->setText(QStringLiteral("139"));
        const comm::TestNumbers numbers{"138", "8008", "139"};
        auto* results = Find<QTreeWidget>(QStringLiteral("comm_result_list"));
        int pressed = 0;
        for (const comm::TestCommand& command : comm::TestCommands()) {
            // ATF goes through the window's Defaults (tested with the window), not straight out.
            if (comm::CommandBlocks(command, numbers).empty() || command.id == comm::id::kAtf) continue;
            const QByteArray name = QByteArray::number(command.id);
            writes_.clear();
            Click(comm::id::kClear);
            Receive("earlier\r\n");
            results->addTopLevelItem(new QTreeWidgetItem(QStringList{QStringLiteral("GPIO"), QStringLiteral("OK")}));
            Click(command.id);
            ++pressed;
            QVERIFY2(writes_ == comm::CommandBlocks(command, numbers), name.constData());
            QVERIFY2(Received().startsWith(QStringLiteral("earlier")) == !command.clears, name.constData());
            QVERIFY2(results->topLevelItemCount() > 0, name.constData());  // only ATF empties it
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
            // The unit's tool asks in Chinese; the window asks in English when the catalog has no wording.
            QTRY_COMPARE(messages_, std::vector<std::string>{"Enter the test number first."});
            QCOMPARE(Received(), QStringLiteral("kept\n"));
        }
    }

    void infraredToggles()
    {
        auto* button = Control<QPushButton>(comm::id::kInfrared);
        button->click();
        QCOMPARE(button->text(), QStringLiteral("Infrared off"));  // what the next press does
        button->click();
        QCOMPARE(button->text(), QStringLiteral("Infrared on"));
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
                const bool number =
                    id == comm::id::kSmsNumber || id == comm::id::kVoiceNumber || id == comm::id::kMmsNumber;
                QWidget* w = number ? Find<QWidget>(QStringLiteral("comm_row_%1").arg(id)) : Control<QWidget>(id);
                QVERIFY2(w->isHidden() == !shown, qPrintable(QStringLiteral("type %1 control %2").arg(type).arg(id)));
            }
            for (int never : {1039, 1041, 1045, 1046, 1038, 1050, 1051, 1449})
                QVERIFY(Control<QWidget>(never)->isHidden());
        }
        QCOMPARE(mms.count(), 2);  // types 2 and 3
    }

    // Camera types bring up the MMS test window; its status line shows the MMS test's answer.
    void mmsTestWindow()
    {
        auto* combo = Control<QComboBox>(comm::id::kProductType);
        for (int type : {0, 1, 4, 5}) emit combo->activated(type);
        QVERIFY(!view_->MmsTestWindow());
        for (int type : {2, 3}) {
            emit combo->activated(type);
            QVERIFY(view_->MmsTestWindow() && view_->MmsTestWindow()->isVisible());
            QCOMPARE(view_->MmsTestWindow()->windowTitle(), QStringLiteral("MMS test"));
            view_->MmsTestWindow()->close();
        }
        Control<QLineEdit>(comm::id::kMmsNumber)->setText(QStringLiteral("139"));
        Click(comm::id::kMmsTest);
        Receive("MMS TO 139: SENT\r\nCMD OK\r\n");
        QTRY_COMPARE(view_->MmsTestWindow()->Status(), QStringLiteral("MMS TO 139: SENT"));
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
