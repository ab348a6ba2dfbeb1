// The INI store: matching rules, typed reads, writes, line ends and safe saving.
#include "profiles/newinifile.h"
#include "shell/apperror.h"
#include "testutil.h"

#include <QtTest>
#include <memory>

using TestUtil::readFile;
using TestUtil::writeFile;

class TestIniFile : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString file(const QByteArray &text)
    {
        static int n = 0;
        return writeFile(m_dir.filePath(QStringLiteral("f%1.ini").arg(++n)), text);
    }

private Q_SLOTS:
    void readString_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray basic = "[Main]\r\nType=avi\r\nPara=2\r\n";
        QTest::newRow("plain") << basic << QByteArray("Main") << QByteArray("Type") << QByteArray("avi");
        QTest::newRow("missing key") << basic << QByteArray("Main") << QByteArray("Name") << QByteArray("x");
        QTest::newRow("missing section") << basic << QByteArray("Other") << QByteArray("Type") << QByteArray("x");
        QTest::newRow("case of names") << QByteArray("[MAIN]\nTYPE=avi\n") << QByteArray("Main") << QByteArray("Type")
                                       << QByteArray("avi");
        QTest::newRow("key inside longer key") << QByteArray("[S]\nData=5\na=7\n") << QByteArray("S") << QByteArray("a")
                                               << QByteArray("5");
        QTest::newRow("10 before 0") << QByteArray("[Main]\n10=x\n0=y\n") << QByteArray("Main") << QByteArray("0")
                                     << QByteArray("x");
        QTest::newRow("key in a value") << QByteArray("[S]\ncmd=-opt Sort=9\nSort=1\n") << QByteArray("S")
                                        << QByteArray("Sort") << QByteArray("9");
        QTest::newRow("blank before =") << QByteArray("[S]\nType = avi\n") << QByteArray("S") << QByteArray("Type")
                                        << QByteArray("x");
        QTest::newRow("blank after =") << QByteArray("[S]\nType= avi \n") << QByteArray("S") << QByteArray("Type")
                                       << QByteArray(" avi ");
        QTest::newRow("comment is a line") << QByteArray("[S]\n;Type=avi\n") << QByteArray("S") << QByteArray("Type")
                                           << QByteArray("avi");
        QTest::newRow("[ ends the section") << QByteArray("[S]\ncmd=-x [a]\nList=0\n") << QByteArray("S")
                                            << QByteArray("cmd") << QByteArray("-x ");
        QTest::newRow("[ hides later keys") << QByteArray("[S]\ncmd=-x [a]\nList=0\n") << QByteArray("S")
                                            << QByteArray("List") << QByteArray("x");
        QTest::newRow("duplicate section") << QByteArray("[S]\nk=1\n[S]\nk=2\n") << QByteArray("S") << QByteArray("k")
                                           << QByteArray("1");
        QTest::newRow("empty value") << QByteArray("[S]\nk=\n") << QByteArray("S") << QByteArray("k") << QByteArray("");
        QTest::newRow("CR only") << QByteArray("[S]\rk=1\rj=2") << QByteArray("S") << QByteArray("j") << QByteArray("2");
        QTest::newRow("stops at NUL") << QByteArray("[S]\nk=1\0\nj=2\n", 15) << QByteArray("S") << QByteArray("j")
                                      << QByteArray("x");
        QTest::newRow("bytes kept") << QByteArray("[S]\nk=\xe9t\xc3\xa9\n") << QByteArray("S") << QByteArray("k")
                                    << QByteArray("\xe9t\xc3\xa9");
        QTest::newRow("only A-Z fold") << QByteArray("[S]\n\xc3\x89t=1\n") << QByteArray("S") << QByteArray("\xc3\xa9t")
                                       << QByteArray("x");
    }
    void readString()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, section);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, expected);
        TNewInifile store(file(text));
        QCOMPARE(store.ReadString(section, key, QByteArray("x")), expected);
    }

    void typedReads_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("asInt");    // default 99
        QTest::addColumn<int>("asBool");   // -1 = the default (tested with both defaults)
        QTest::newRow("12") << QByteArray("12") << 12 << 1;
        QTest::newRow("lead blank") << QByteArray(" 12") << 12 << 1;
        QTest::newRow("hex $") << QByteArray("$1F") << 31 << -1;
        QTest::newRow("hex 0x") << QByteArray("0x1f") << 31 << -1;
        QTest::newRow("trail blank") << QByteArray("12 ") << 99 << 1;
        QTest::newRow("letters") << QByteArray("12abc") << 99 << -1;
        QTest::newRow("empty") << QByteArray("") << 99 << -1;
        QTest::newRow("too big") << QByteArray("4294967296") << 99 << 1;
        QTest::newRow("minus one") << QByteArray("-1") << -1 << 1;
        QTest::newRow("zero") << QByteArray("0") << 0 << 0;
        QTest::newRow("two") << QByteArray("2") << 2 << 1;
        QTest::newRow("True") << QByteArray("True") << 99 << 1;
        QTest::newRow("true") << QByteArray("true") << 99 << 1;
        QTest::newRow("FALSE") << QByteArray("FALSE") << 99 << 0;
        QTest::newRow("yes") << QByteArray("yes") << 99 << -1;
    }
    void typedReads()
    {
        QFETCH(QByteArray, value);
        QFETCH(int, asInt);
        QFETCH(int, asBool);
        TNewInifile store(file("[S]\r\nk=" + value + "\r\n"));
        QCOMPARE(store.ReadInteger("S", "k", 99), asInt);
        if (asBool < 0) {
            QCOMPARE(store.ReadBool("S", "k", true), true);
            QCOMPARE(store.ReadBool("S", "k", false), false);
        } else {
            QCOMPARE(store.ReadBool("S", "k", asBool == 0), asBool == 1);
        }
        QCOMPARE(store.ReadInteger("S", "missing", 7), 7);
        QCOMPARE(store.ReadBool("S", "missing", true), true);
    }

    void writes()
    {
        // A missing section is appended; new keys go right after the header; an existing
        // key's whole line is replaced with the caller's spelling.
        const QString path = file("[S]\r\nold=1\r\ntype=avi\r\n");
        auto *store = new TNewInifile(path);
        store->WriteString("S", "A", "a");
        store->WriteString("S", "B", "b");
        store->WriteString("S", "Type", "mp4");
        store->WriteInteger("T", "n", -1);
        store->WriteBool("T", "yes", true);
        store->WriteBool("T", "no", false);
        SaveAndFree(store);
        QVERIFY(store == nullptr);
        QCOMPARE(readFile(path), QByteArray("[S]\r\nB=b\r\nA=a\r\nold=1\r\nType=mp4\r\n[T]\r\nno=0\r\nyes=1\r\nn=-1\r\n"));
    }

    void saveRewritesLineEnds()
    {
        const QString path = file("a\nb\rc\r\n\r\nd");
        auto *store = new TNewInifile(path);
        SaveAndFree(store);
        QCOMPARE(readFile(path), QByteArray("a\r\nb\r\nc\r\n\r\nd\r\n"));
    }

    void missingFileGivesEmptyFile()
    {
        const QString path = m_dir.filePath(QStringLiteral("new.ini"));
        auto *store = new TNewInifile(path);
        QCOMPARE(store->ReadString("Main", "Version", "3.0"), QByteArray("3.0"));
        SaveAndFree(store);
        QVERIFY(QFileInfo::exists(path));
        QCOMPARE(QFileInfo(path).size(), 0);
    }

    void unwritableFileKeepsItsContents()
    {
        const QByteArray old = "[Main]\r\nOverwrite=1\r\n";
        const QString path = file(old);
        QFile(path).setPermissions(QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        auto *store = new TNewInifile(path);
        store->WriteString("Main", "Overwrite", "0");
        try {
            SaveAndFree(store);
            QFAIL("saving a read-only file must fail");
        } catch (const FileError &e) {
            QVERIFY2(e.text().contains(path), qPrintable(e.text()));
        }
        QVERIFY(store == nullptr);
        QCOMPARE(readFile(path), old);
        QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);

        // A folder that does not exist: the error names the path; nothing is left behind.
        const QString lost = m_dir.filePath(QStringLiteral("no/such/dir/p.ini"));
        auto *other = new TNewInifile(lost);
        other->WriteString("A", "b", "c");
        QVERIFY_THROWS_EXCEPTION(FileError, SaveAndFree(other));
        QVERIFY(!QFileInfo::exists(lost));
    }

    void saveLeavesNoTemporaryFiles()
    {
        QTemporaryDir dir;
        const QString path = writeFile(dir.filePath(QStringLiteral("p.ini")), "[A]\r\n");
        auto *store = new TNewInifile(path);
        store->WriteString("A", "k", "v");
        SaveAndFree(store);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("p.ini")});
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
