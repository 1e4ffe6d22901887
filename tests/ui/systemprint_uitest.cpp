// Prints a listing through the program's normal print path (ListingPrinter over the system's
// default printer) into a real CUPS scheduler whose default queue writes PDF files, and reads the
// files back. The scheduler is the test's own: its configuration, spool, logs and socket live in
// a temporary folder, so the machine's printers and settings stay as they are. It needs root (the
// scheduler and the PDF backend run as root, and the backend reads its queue's settings from
// /etc/cups), cupsd, the cups-pdf backend and pdftotext; without them the tests are skipped.
#include "listing/panelist.h"
#include "output/previewcanvas.h"
#include "support/scriptedprompts.h"
#include "support/tempfolder.h"
#include "support/textrow.h"
#include "ui/listingprinter.h"
#include "ui/printercanvas.h"
#include "ui/printpreviewform.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace vennic {
namespace {

using test::ScriptedPrompts;
using test::TempFolder;
using test::textRow;

const QString queueName = QStringLiteral("VennicPDF");
const QString pdfBackend = QStringLiteral("/usr/lib/cups/backend/cups-pdf");

struct CommandResult {
    bool ok = false;
    QString output;
};

/// Runs a program to its end (at most 30 s) in the C locale, so its messages can be read, with
/// the test's environment (CUPS_SERVER included). `ok` is true when it exited with 0.
CommandResult runCommand(const QString& program, const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(30000);
    CommandResult result;
    result.output = QString::fromLocal8Bit(process.readAll());
    result.ok = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!finished)
        process.kill();
    return result;
}

/// Spins the event loop until `done` holds or `seconds` have passed; true when it held. The
/// scheduler and its backend tell the test nothing, so their results are looked for.
bool waitFor(const std::function<bool()>& done, int seconds)
{
    const QDeadlineTimer deadline(seconds * 1000);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(250);
    }
    return true;
}

QString findTool(const QString& name)
{
    const QString found = QStandardPaths::findExecutable(name);
    return found.isEmpty() ? QStandardPaths::findExecutable(
                                 name, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")})
                           : found;
}

/// A CUPS scheduler of the test's own with one PDF-writing queue, `VennicPDF`, as its default.
/// The test process talks to it through CUPS_SERVER, which is set before Qt first asks the
/// print system anything.
class PrivateCups {
public:
    PrivateCups()
        : m_root(QString::fromStdString(m_tmp.path())),
          m_backendName(QStringLiteral("vennic-%1").arg(getpid())),
          m_backendConfig(QStringLiteral("/etc/cups/cups-pdf-%1.conf").arg(m_backendName))
    {
    }

    ~PrivateCups()
    {
        if (m_scheduler.state() != QProcess::NotRunning) {
            if (m_queueAdded)
                runCommand(m_lpadmin, {QStringLiteral("-x"), queueName});
            m_scheduler.terminate();
            if (!m_scheduler.waitForFinished(15000))
                m_scheduler.kill();
            m_scheduler.waitForFinished(5000);
        }
        QFile::remove(m_backendConfig);
        qunsetenv("CUPS_SERVER");
    }

    PrivateCups(const PrivateCups&) = delete;
    PrivateCups& operator=(const PrivateCups&) = delete;

    /// Why the machine cannot run these tests, or empty when it can.
    QString missingPrerequisite()
    {
        if (geteuid() != 0)
            return QStringLiteral("not running as root: the scheduler and the cups-pdf backend "
                                  "need it");
        m_cupsd = findTool(QStringLiteral("cupsd"));
        if (m_cupsd.isEmpty())
            return QStringLiteral("no cupsd (package cups-daemon)");
        m_lpadmin = findTool(QStringLiteral("lpadmin"));
        m_lpstat = findTool(QStringLiteral("lpstat"));
        m_lpinfo = findTool(QStringLiteral("lpinfo"));
        if (m_lpadmin.isEmpty() || m_lpstat.isEmpty() || m_lpinfo.isEmpty())
            return QStringLiteral("no lpadmin, lpstat or lpinfo (package cups-client)");
        if (!QFile::exists(pdfBackend))
            return QStringLiteral("no cups-pdf backend at %1 (package printer-driver-cups-pdf)")
                .arg(pdfBackend);
        if (findTool(QStringLiteral("pdftotext")).isEmpty())
            return QStringLiteral("no pdftotext (package poppler-utils)");
        return {};
    }

    /// Starts the scheduler and adds the queue; what went wrong, or empty when all is ready.
    QString start()
    {
        // Filters run as the lp user and must reach the spool under the temporary folder.
        ::chmod(m_tmp.path().c_str(), 0755);
        for (const char* folder : {"etc", "spool", "spool/tmp", "cache", "state", "log", "out"})
            m_tmp.folder(folder);
        const QString socket = path("cups.sock");
        m_tmp.fileWithContent("etc/cups-files.conf", QStringLiteral("ServerRoot %1/etc\n"
                                                                    "RequestRoot %1/spool\n"
                                                                    "TempDir %1/spool/tmp\n"
                                                                    "CacheDir %1/cache\n"
                                                                    "StateDir %1/state\n"
                                                                    "ErrorLog %1/log/error_log\n"
                                                                    "AccessLog %1/log/access_log\n"
                                                                    "PageLog %1/log/page_log\n"
                                                                    "User lp\n"
                                                                    "Group lp\n"
                                                                    "SystemGroup root lpadmin\n")
                                                         .arg(m_root)
                                                         .toStdString());
        // Only the socket: the machine's own scheduler may hold the network port.
        m_tmp.fileWithContent("etc/cupsd.conf", QStringLiteral("Listen %1\n"
                                                               "LogLevel info\n"
                                                               "Browsing No\n"
                                                               "WebInterface No\n"
                                                               "<Location />\n"
                                                               "  Order allow,deny\n"
                                                               "  Allow localhost\n"
                                                               "</Location>\n"
                                                               "<Policy default>\n"
                                                               "  <Limit All>\n"
                                                               "    Order deny,allow\n"
                                                               "  </Limit>\n"
                                                               "</Policy>\n")
                                                    .arg(socket)
                                                    .toStdString());
        // The backend takes the settings named by its device URI from /etc/cups, so this queue
        // writes into the temporary folder and leaves the machine's PDF queue alone.
        QFile config(m_backendConfig);
        if (!config.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return QStringLiteral("cannot write %1").arg(m_backendConfig);
        config.write(QStringLiteral("Out %1\nAnonDirName %1\nSpool %2\nLog %3\nLogType 3\n")
                         .arg(outFolder(), path("backend-spool"), path("log"))
                         .toUtf8());
        config.close();

        qputenv("CUPS_SERVER", socket.toLocal8Bit());
        // A destination named in the environment would stand before the scheduler's default.
        qunsetenv("LPDEST");
        qunsetenv("PRINTER");
        m_scheduler.setProcessChannelMode(QProcess::MergedChannels);
        m_scheduler.start(m_cupsd,
                          {QStringLiteral("-f"), QStringLiteral("-c"), path("etc/cupsd.conf"),
                           QStringLiteral("-s"), path("etc/cups-files.conf")});
        if (!m_scheduler.waitForStarted(10000))
            return QStringLiteral("cupsd did not start: %1").arg(m_scheduler.errorString());
        const bool running = waitFor(
            [&] {
                return m_scheduler.state() == QProcess::NotRunning ||
                       runCommand(m_lpstat, {QStringLiteral("-r")})
                           .output.contains(QStringLiteral("scheduler is running"));
            },
            30);
        if (!running || m_scheduler.state() == QProcess::NotRunning)
            return QStringLiteral("cupsd is not answering: %1\n%2")
                .arg(QString::fromLocal8Bit(m_scheduler.readAll()), logTail());

        // The cups-pdf driver, as the scheduler lists it ("lsb/usr/cups-pdf/CUPS-PDF_opt.ppd").
        // It takes PostScript, which the queue makes from the program's PDF with cairo: the
        // default renderer, Ghostscript, re-encodes the fonts so that the text of the PDF the
        // backend writes cannot be read back, and draws a page holding the folder picture (an
        // image with an alpha mask) as one bitmap.
        QString model;
        const CommandResult models = runCommand(m_lpinfo, {QStringLiteral("-m")});
        for (const QString& line : models.output.split(QLatin1Char('\n')))
            if (line.contains(QStringLiteral("CUPS-PDF_opt"), Qt::CaseInsensitive))
                model = line.section(QLatin1Char(' '), 0, 0);
        if (model.isEmpty())
            return QStringLiteral("lpinfo -m lists no cups-pdf driver:\n%1").arg(models.output);
        const CommandResult added = runCommand(
            m_lpadmin,
            {QStringLiteral("-p"), queueName, QStringLiteral("-E"), QStringLiteral("-v"),
             QStringLiteral("cups-pdf:/%1").arg(m_backendName), QStringLiteral("-m"), model,
             QStringLiteral("-o"), QStringLiteral("pdftops-renderer-default=pdftocairo"),
             // Not the paper the locale or the toolkit would pick, so prints show whose it is.
             QStringLiteral("-o"), QStringLiteral("PageSize=Letter")});
        if (!added.ok)
            return QStringLiteral("lpadmin could not add the queue: %1").arg(added.output);
        m_queueAdded = true;
        const CommandResult defaulted = runCommand(m_lpadmin, {QStringLiteral("-d"), queueName});
        if (!defaulted.ok)
            return QStringLiteral("lpadmin could not make the queue the default: %1")
                .arg(defaulted.output);
        return {};
    }

    /// Where the queue writes its PDF files.
    QString outFolder() const { return path("out"); }

    /// The PDF files the queue has written.
    QStringList pdfs() const
    {
        QStringList files;
        for (const QString& name :
             QDir(outFolder()).entryList({QStringLiteral("*.pdf")}, QDir::Files))
            files.append(outFolder() + QLatin1Char('/') + name);
        return files;
    }

    /// True when the queue has no job left to finish.
    bool idle() const
    {
        const CommandResult jobs = runCommand(m_lpstat, {QStringLiteral("-o"), queueName});
        return jobs.ok && jobs.output.trimmed().isEmpty();
    }

    /// The end of the scheduler's and the backend's logs, to show when a job went wrong.
    QString logTail() const
    {
        QString text;
        for (const QString& name : QDir(path("log")).entryList(QDir::Files)) {
            QFile file(path("log/") + name);
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QStringList lines = QString::fromLocal8Bit(file.readAll()).split('\n');
            text += QStringLiteral("--- %1\n%2\n")
                        .arg(name, lines.mid(std::max(0, int(lines.size()) - 40)).join('\n'));
        }
        return text;
    }

private:
    QString path(const char* relative) const { return m_root + QLatin1Char('/') + relative; }

    TempFolder m_tmp;
    QString m_root;
    QString m_backendName;
    QString m_backendConfig;
    QString m_cupsd, m_lpadmin, m_lpstat, m_lpinfo;
    QProcess m_scheduler;
    bool m_queueAdded = false;
};

QString pdfText(const QString& file)
{
    return runCommand(QStringLiteral("pdftotext"), {file, QStringLiteral("-")}).output;
}

/// One scheduler for the whole suite: starting it and adding the queue take seconds.
class SystemPrint : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_cups = std::make_unique<PrivateCups>();
        s_skipReason = s_cups->missingPrerequisite();
        if (s_skipReason.isEmpty())
            s_startError = s_cups->start();
    }

    static void TearDownTestSuite() { s_cups.reset(); }

    void SetUp() override
    {
        if (!s_skipReason.isEmpty())
            GTEST_SKIP() << s_skipReason.toStdString();
        ASSERT_TRUE(s_startError.isEmpty()) << s_startError.toStdString();

        std::vector<PaneRow> rows;
        rows.push_back(
            textRow({QStringLiteral("MarigoldPlans"), QStringLiteral(" File Folder"), QString(),
                     QStringLiteral("3/14/2026 9:26:53 AM"), QStringLiteral("D")}));
        rows.push_back(textRow({QStringLiteral("QuokkaLedger.txt"), QStringLiteral("File"),
                                QStringLiteral("48,213"), QStringLiteral("2/7/2026 4:05:11 PM"),
                                QStringLiteral("A")}));
        rows.push_back(textRow({QStringLiteral("Zephyr93.csv"), QStringLiteral("File"),
                                QStringLiteral("1,702"), QStringLiteral("1/30/2026 11:40:02 AM"),
                                QStringLiteral("A")}));
        list.setRows(std::move(rows));
        listing.rows = &list;
        listing.path = QStringLiteral("/srv/archive/Vennic7");
        listing.count = QStringLiteral("1 Folders, 2 Files");
        listing.fontName = QStringLiteral("DejaVu Sans");
        listing.fontSize = 9;
    }

    /// Waits for the job just sent to end and gives the text of the PDF it wrote, or records a
    /// failure with the logs and gives an empty text. The backend names its files after the
    /// job's title, which can repeat, so the folder is emptied once the file is read.
    QString printedText(QString* pageSize = nullptr)
    {
        QStringList files;
        const bool done = waitFor(
            [&] {
                files = s_cups->pdfs();
                return !files.isEmpty() && s_cups->idle();
            },
            60);
        if (!done) {
            ADD_FAILURE() << "no PDF from the queue within 60 s\n"
                          << s_cups->logTail().toStdString();
            return {};
        }
        EXPECT_EQ(files.size(), 1) << "one job, one file: " << files.join(' ').toStdString();
        const QString text = pdfText(files.first());
        if (pageSize)
            *pageSize = runCommand(QStringLiteral("pdfinfo"), {files.first()})
                            .output.section(QStringLiteral("Page size:"), 1)
                            .section(QLatin1Char('\n'), 0, 0)
                            .simplified();
        for (const QString& file : files)
            QFile::remove(file);
        return text;
    }

    static inline std::unique_ptr<PrivateCups> s_cups;
    static inline QString s_skipReason;
    static inline QString s_startError;

    PaneList list{PaneColumnCount};
    PrintedListing listing;
    ScriptedPrompts prompts;
};

TEST_F(SystemPrint, QtSeesTheNewQueueAsTheDefaultPrinter)
{
    EXPECT_TRUE(QPrinterInfo::availablePrinterNames().contains(queueName))
        << "is Qt's CUPS print support plugin installed? Printers seen: "
        << QPrinterInfo::availablePrinterNames().join(", ").toStdString();
    EXPECT_EQ(QPrinterInfo::defaultPrinterName(), queueName);
    const std::unique_ptr<QPrinter> printer = ListingPrinter::systemPrinter();
    ASSERT_TRUE(printer);
    EXPECT_EQ(printer->printerName(), queueName);
    EXPECT_EQ(printer->outputFormat(), QPrinter::NativeFormat) << "a print job, not a file";
}

TEST_F(SystemPrint, PrintsAndThePreviewUseThePaperTheQueueIsSetUpFor)
{
    ListingPrinter printer;
    ASSERT_FALSE(printer.printsToPdf());
    EXPECT_EQ(printer.canvas().printer().pageLayout().pageSize().id(), QPageSize::Letter);
    EXPECT_NEAR(printer.showPreview(listing)->canvas().ScaleWidth(),
                std::lround(printer.canvas().ScaleWidth()), 1);
    while (printer.run())
        QTest::qWait(20);

    for (const bool small : {false, true}) {
        SCOPED_TRACE(small ? "small print" : "full print");
        if (small)
            printer.printSmall(prompts, listing, false);
        else
            printer.printFull(prompts, listing, false);
        QString pageSize;
        EXPECT_TRUE(printedText(&pageSize).contains(QStringLiteral("QuokkaLedger.txt")));
        EXPECT_TRUE(pageSize.startsWith(QStringLiteral("612 x 792"))) << pageSize.toStdString();
    }
}

TEST_F(SystemPrint, FullAndRowsPrintsReachTheDefaultPrinterAsJobs)
{
    ListingPrinter printer;
    ASSERT_FALSE(printer.printsToPdf()) << "the system printer was not found";
    EXPECT_EQ(printer.canvas().printer().printerName(), queueName);

    printer.printFull(prompts, listing, false);
    EXPECT_TRUE(prompts.shown().empty())
        << "no file dialog, no error: " << prompts.messages().join('\n').toStdString();
    const QString full = printedText();
    for (const char* word : {"Folder:", "/srv/archive/Vennic7", "MarigoldPlans", "QuokkaLedger.txt",
                             "Zephyr93.csv", "48,213"})
        EXPECT_TRUE(full.contains(QLatin1String(word))) << word << " missing from:\n"
                                                        << full.toStdString();

    // The same printer object carries a second job: the rows alone, without the header.
    printer.printRows(prompts, listing);
    EXPECT_TRUE(prompts.shown().empty()) << prompts.messages().join('\n').toStdString();
    const QString rows = printedText();
    for (const char* word : {"MarigoldPlans", "QuokkaLedger.txt", "Zephyr93.csv"})
        EXPECT_TRUE(rows.contains(QLatin1String(word))) << word << " missing from:\n"
                                                        << rows.toStdString();
    EXPECT_FALSE(rows.contains(QStringLiteral("Folder:"))) << "rows only";
    EXPECT_FALSE(rows.contains(QStringLiteral("/srv/archive/Vennic7"))) << "rows only";
}

} // namespace
} // namespace vennic
