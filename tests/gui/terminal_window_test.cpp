// The terminal window against the simulated camera: sending typed lines, the stamped log,
// history and completion, saving the log, and the log at its full length.
#include <QCompleter>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "gui/comm/line_log_model.h"
#include "gui/comm/terminal_window.h"
#include "identity_rig.h"

namespace vk::gui::test {
namespace {

using Lines = std::vector<std::string>;

struct TerminalRig : IdentityRig {
    TerminalWindow window{*core, windows};

    QPushButton* Button(const char* name) const {
        auto* b = window.findChild<QPushButton*>(name);
        if (!b) qFatal("no button %s", name);
        return b;
    }
    void Type(const QString& text) { window.CommandEdit()->setText(text); }
    void PressEnter() { QTest::keyClick(window.CommandEdit(), Qt::Key_Return); }
    // The log as the view shows it, after the batch has caught up.
    QStringList Shown() {
        window.LogModel()->CatchUp();
        QStringList lines;
        const auto* model = window.LogView()->model();
        for (int i = 0; i < model->rowCount(); ++i)
            lines << model->index(i, 0).data().toString();
        return lines;
    }
    // The shown lines without their stamps, after checking that each has one.
    QStringList Texts() {
        static const QRegularExpression stamp("^\\d\\d:\\d\\d:\\d\\d\\d  ");
        QStringList texts;
        for (const QString& line : Shown()) {
            if (!stamp.match(line).hasMatch()) qFatal("no stamp: %s", qPrintable(line));
            texts << line.mid(11);
        }
        return texts;
    }
    QString ReadFile(const QString& path) const {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return "<missing>";
        return QString::fromUtf8(file.readAll());
    }
};

}  // namespace

class TerminalWindowTest : public QObject {
    Q_OBJECT

private slots:
    void sendsTheTypedLineAndShowsBothDirectionsNewestFirst();
    void emptySendIsALineEndAlone();
    void closeAndEscapeHideAndTheLogGoesOnFilling();
    void upAndDownWalkTheSentLines();
    void mnemonicsAreCompletedFromTheCommandTable();
    void saveWritesNewestFirstAndAddsTheExtension();
    void saveAsksBeforeReplacingAndKeepsTheFileOnFailure();
    void fullLogDropsTheOldestAndRowsKeepTheirLines();
};

void TerminalWindowTest::sendsTheTypedLineAndShowsBothDirectionsNewestFirst() {
    TerminalRig rig;
    QVERIFY(rig.window.isHidden());
    rig.window.show();
    rig.Type("PE?");
    rig.PressEnter();  // Send is the default button
    QCOMPARE(rig.Sent(), Lines{"PE?"});
    QCOMPARE(rig.Texts(),
             QStringList({"Rx: PE=" + QString::fromStdString(rig.camera.Value("PE")), "Tx: PE?"}));
    QCOMPARE(rig.window.CommandEdit()->text(), QString("PE?"));  // stays for the next send
    QCOMPARE(rig.window.CommandEdit()->selectedText(), QString("PE?"));

    QTest::keyClicks(rig.window.CommandEdit(), "UD=hello");  // replaces, not "PE?UD=hello"
    QTest::mouseClick(rig.Button("send"), Qt::LeftButton);
    QCOMPARE(rig.Texts().mid(0, 2), QStringList({"Rx: COMPLETE", "Tx: UD=hello"}));
    QCOMPARE(rig.camera.Value("UD"), std::string("hello"));
    QVERIFY(rig.Messages().empty());

    QTest::mouseClick(rig.Button("clear"), Qt::LeftButton);
    QCOMPARE(rig.Shown(), QStringList());
}

void TerminalWindowTest::emptySendIsALineEndAlone() {
    TerminalRig rig;
    rig.Type("");
    rig.window.Send();  // nothing waits for an answer to it
    QTRY_COMPARE_WITH_TIMEOUT(rig.Sent(), Lines{""}, 2000);
    const QStringList texts = rig.Texts();
    QVERIFY(texts.size() >= 1);
    QCOMPARE(texts.last(), QString("Tx: "));
}

void TerminalWindowTest::closeAndEscapeHideAndTheLogGoesOnFilling() {
    TerminalRig rig;
    rig.window.show();
    QTest::mouseClick(rig.Button("close"), Qt::LeftButton);
    QVERIFY(rig.window.isHidden());

    rig.window.show();
    QTest::keyClick(&rig.window, Qt::Key_Escape);
    QVERIFY(rig.window.isHidden());

    QVERIFY(rig.core->exchange.QueryString(rig.core->exchange.FindCommand("ID"), 500).ok());
    rig.window.show();
    QCOMPARE(rig.Texts(), QStringList({"Rx: ID=VK00000001", "Tx: ID?"}));
}

void TerminalWindowTest::upAndDownWalkTheSentLines() {
    TerminalRig rig;
    rig.window.show();
    for (const char* line : {"PE?", "VN?", "VN?", "ID?"}) {
        rig.Type(line);
        rig.window.Send();
    }
    QLineEdit* edit = rig.window.CommandEdit();
    edit->setText("TM");  // typed, not sent
    const auto key = [&](Qt::Key k) {
        QTest::keyClick(edit, k);
        return edit->text();
    };
    QCOMPARE(key(Qt::Key_Up), QString("ID?"));
    QCOMPARE(key(Qt::Key_Up), QString("VN?"));  // a repeat is kept once
    QCOMPARE(key(Qt::Key_Up), QString("PE?"));
    QCOMPARE(key(Qt::Key_Up), QString("PE?"));  // the oldest stays
    QCOMPARE(key(Qt::Key_Down), QString("VN?"));
    QCOMPARE(key(Qt::Key_Down), QString("ID?"));
    QCOMPARE(key(Qt::Key_Down), QString("TM"));  // back to what was being typed
    QCOMPARE(key(Qt::Key_Down), QString("TM"));
}

void TerminalWindowTest::mnemonicsAreCompletedFromTheCommandTable() {
    TerminalRig rig;
    QCompleter* completer = rig.window.CommandEdit()->completer();
    QVERIFY(completer);
    const auto completions = [&](const QString& prefix) {
        completer->setCompletionPrefix(prefix);
        QStringList found;
        for (bool more = completer->setCurrentRow(0); more;
             more = completer->setCurrentRow(completer->currentRow() + 1))
            found << completer->currentCompletion();
        return found;
    };
    const QStringList alcs = completions("alcs");
    QVERIFY(alcs.contains("ALCST"));
    for (const QString& m : alcs)
        QVERIFY2(m.startsWith("ALCS"), qPrintable(m));
    QVERIFY(completions("LUTS").contains("LUTSR"));
    QVERIFY(completions("PE=").isEmpty());
    QCOMPARE(completions("").size(), completer->model()->rowCount());
}

void TerminalWindowTest::saveWritesNewestFirstAndAddsTheExtension() {
    TerminalRig rig;
    QTemporaryDir dir;
    for (const char* line : {"PE?", "VN?"}) {
        rig.Type(line);
        rig.window.Send();
    }
    const QStringList before = rig.Shown();
    QString asked;
    rig.window.chooseLogFile = [&](const QString& folder) {
        asked = folder;
        return dir.filePath("traffic");
    };
    QTest::mouseClick(rig.Button("save"), Qt::LeftButton);
    QCOMPARE(rig.ReadFile(dir.filePath("traffic.csv")), before.join('\n') + '\n');
    QVERIFY(!QFile::exists(dir.filePath("traffic")));
    QVERIFY(rig.Messages().empty());
    // The save's own line comes after the file was written.
    QCOMPARE(rig.Texts().first(), QString("Writing file has been done !"));
    QCOMPARE(rig.Shown().mid(1), before);

    std::string folder;
    rig.core->settings.ReadText(static_cast<int>(SettingIndex::CommandLogFilePath), folder);
    QCOMPARE(QString::fromStdString(folder), QDir(dir.path()).absolutePath());
    QTest::mouseClick(rig.Button("save"), Qt::LeftButton);
    QCOMPARE(asked, QDir(dir.path()).absolutePath());
}

void TerminalWindowTest::saveAsksBeforeReplacingAndKeepsTheFileOnFailure() {
    TerminalRig rig;
    QTemporaryDir dir;
    const QString path = dir.filePath("log.csv");
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old\n");
    }
    rig.core->logs.terminal.Add("Tx: PE?");
    rig.ui.answers = {false};
    QVERIFY(!rig.window.SaveLogTo(path));
    QCOMPARE(rig.ui.questions.size(), 1u);
    QCOMPARE(rig.ui.questions[0].text,
             path.toStdString() + "\nThis file already exists.\nReplace existing file?");
    QCOMPARE(rig.ReadFile(path), QString("old\n"));

    rig.ui.answers = {true};
    QVERIFY(rig.window.SaveLogTo(path));
    QCOMPARE(rig.ReadFile(path).mid(11), QString("Tx: PE?\n"));

    // A folder that does not exist: nothing written, the log unchanged.
    const std::size_t lines = rig.core->logs.terminal.Size();
    QVERIFY(!rig.window.SaveLogTo(dir.filePath("missing/log.csv")));
    QCOMPARE(rig.Messages(),
             Lines{"File open error !\n" + dir.filePath("missing/log.csv").toStdString() +
                   ": No such file or directory"});
    QCOMPARE(rig.ui.messages[0].icon, MessageIcon::Stop);
    QCOMPARE(rig.core->logs.terminal.Size(), lines);
}

void TerminalWindowTest::fullLogDropsTheOldestAndRowsKeepTheirLines() {
    TerminalRig rig;
    rig.window.show();
    LineLog& log = rig.core->logs.terminal;
    for (int i = 0; i < 32786; ++i)
        log.Add(std::to_string(i));
    QCOMPARE(rig.Shown().size(), 32786);
    // Lines that arrive between two batches sit above the rows shown so far.
    log.Add("32786");
    const QAbstractItemModel* model = rig.window.LogView()->model();
    QCOMPARE(model->index(0, 0).data().toString().mid(11), QString("32785"));
    const QStringList shown = rig.Shown();
    QCOMPARE(shown.size(), 32786);
    QCOMPARE(shown.first().mid(11), QString("32786"));
    QCOMPARE(shown.last().mid(11), QString("1"));  // "0" was pushed out
}

}  // namespace vk::gui::test

QTEST_MAIN(vk::gui::test::TerminalWindowTest)
#include "terminal_window_test.moc"
