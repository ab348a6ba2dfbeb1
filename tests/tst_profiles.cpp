// The profile format: loading into the editors, the option builder and the writer side.
#include "profiles/profiles.h"
#include "shell/apperror.h"
#include "testutil.h"

#include <QtTest>
#include <climits>

using TestUtil::readFile;
using TestUtil::writeFile;

namespace {

// The example profile: a pick list with a custom entry, an option without argument and a
// read-only plain row.
const QByteArray Example = "[Main]\r\nType=mp4\r\nPara=3\r\n0=Video Size\r\n1=Disable Audio\r\n"
                           "2=Bit Exact Algorithms\r\n"
                           "[Video Size]\r\nSort=1\r\ncmd=-optA\r\nCaption=Original Size,320x240,Custom Size,\r\n"
                           "Value=,320x240,,\r\nIndex=0\r\n"
                           "[Disable Audio]\r\nSort=2\r\ncmd=-optB\r\nCaption=No,Yes,\r\nValue=,\\,\r\nIndex=0\r\n"
                           "[Bit Exact Algorithms]\r\nSort=3\r\nReadOnly=1\r\nList=0\r\ncmd=-optC\r\n"
                           "Caption=Yes\r\nValue=\\\r\n";

// A profile from "name|section lines" blocks: the first block's lines go into "Main".
QByteArray profile(const QStringList &blocks)
{
    QByteArray text;
    for (const QString &block : blocks) {
        const QStringList lines = block.split(QLatin1Char('|'));
        text += "[" + lines.first().toUtf8() + "]\r\n";
        for (int i = 1; i < lines.size(); ++i)
            text += lines[i].toUtf8() + "\r\n";
    }
    return text;
}

// One line per row: key=value, then " ro" for read-only and " {a|b}" for a pick list.
QString dump(const EditorRows &rows)
{
    QStringList out;
    for (const EditorRows::Row &r : rows.rows()) {
        QString line = r.key + QLatin1Char('=') + r.value;
        if (r.readOnly)
            line += QStringLiteral(" ro");
        if (r.pickList)
            line += QStringLiteral(" {") + r.items.join(QLatin1Char('|')) + QLatin1Char('}');
        out << line;
    }
    return out.join(QStringLiteral("; "));
}

struct Editors
{
    EditorRows video, audio, advanced;
    ProfileEditors all() { return ProfileEditors{&video, &audio, &advanced}; }
    EditorRows *byGroup(int g) { return all().bySort(g); }
    // "1:Key=value" sets a value in the editor of group 1.
    void apply(const QStringList &changes)
    {
        for (const QString &c : changes) {
            const int eq = c.indexOf(QLatin1Char('='));
            byGroup(c.left(1).toInt())->setValue(c.mid(2, eq - 2), c.mid(eq + 1));
        }
    }
};

constexpr int NoError = INT_MIN;

}  // namespace

class TestProfiles : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void splitCommaList_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("terminated") << "a,b,c," << QStringList{"a", "b", "c"};
        QTest::newRow("last item unterminated") << "a,b,c" << QStringList{"a", "b"};
        QTest::newRow("no comma") << "abc" << QStringList();
        QTest::newRow("empty") << "" << QStringList();
        QTest::newRow("empty items kept") << ",x,," << QStringList{"", "x", ""};
        QTest::newRow("blanks kept") << " x , y," << QStringList{" x ", " y"};
        QTest::newRow("backslash item") << ",\\," << QStringList{"", "\\"};
    }
    void splitCommaList()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, items);
        QCOMPARE(SplitCommaList(text), items);
    }

    void load_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("video");
        QTest::addColumn<QString>("audio");
        QTest::addColumn<QString>("advanced");
        QTest::addColumn<QList<int>>("heights");
        QTest::addColumn<QString>("ext");
        QTest::addColumn<int>("error");

        QTest::newRow("example") << Example << "Video Size=Original Size ro {Original Size|320x240|Custom Size}"
                                 << "Disable Audio=No ro {No|Yes}" << "Bit Exact Algorithms=Yes ro"
                                 << QList<int>{18, 18, 18} << ".mp4" << NoError;
        QTest::newRow("unterminated caption, Index 1, Type avi")
            << profile({"Main|Type=avi|Para=1|0=Codec", "Codec|Sort=1|Caption=a,b,c|Index=1"}) << "Codec=b ro {a|b}"
            << "" << "" << QList<int>{18, 18, 18} << ".avi" << NoError;
        QTest::newRow("no Type; plain editable row; List=False")
            << profile({"Main|Para=2|0=Name|1=Rate", "Name|Sort=2|List=False|Caption=x y|Value=z",
                        "Rate|Sort=2|List=0|ReadOnly=True|Caption=25|Value=25"})
            << "" << "Name=x y; Rate=25 ro" << "" << QList<int>{18, 36, 18} << ".mp4" << NoError;
        QTest::newRow("empty Type") << profile({"Main|Type=|Para=0"}) << "" << "" << "" << QList<int>{18, 18, 18}
                                    << "." << NoError;
        QTest::newRow("no Main section") << QByteArray("[Other]\r\nx=1\r\n") << "" << "" << ""
                                         << QList<int>{18, 18, 18} << ".mp4" << NoError;
        QTest::newRow("Sort carries over")
            << profile({"Main|Para=3|0=A|1=B|2=C", "A|Sort=3|Caption=1,", "B|Sort=7|Caption=2,", "C|Caption=3,"})
            << "" << "" << "A=1 ro {1}; B=2 ro {2}; C=3 ro {3}" << QList<int>{18, 18, 54} << ".mp4" << NoError;
        QTest::newRow("first parameter without editor is skipped")
            << profile({"Main|Para=2|0=A|1=B", "A|Caption=1,", "B|Sort=1|Caption=2,"}) << "B=2 ro {2}" << "" << ""
            << QList<int>{18, 18, 18} << ".mp4" << NoError;
        QTest::newRow("duplicate names: settings go to the first row")
            << profile({"Main|Para=2|0=A|1=A", "A|Sort=1|Caption=x,y,|Index=1"}) << "A=y ro {x|y}; A=" << ""
            << "" << QList<int>{36, 18, 18} << ".mp4" << NoError;
        QTest::newRow("ReadOnly list row stays a pick list")
            << profile({"Main|Para=1|0=A", "A|Sort=2|ReadOnly=1|Caption=x,y,"}) << "" << "A=x ro {x|y}" << ""
            << QList<int>{18, 18, 18} << ".mp4" << NoError;
        // A bad Index stops the load: earlier rows stay, heights and file are left alone.
        QTest::newRow("Index beyond the list")
            << profile({"Main|Type=mkv|Para=3|0=A|1=B|2=C", "A|Sort=1|Caption=x,", "B|Sort=2|Caption=x,y,|Index=2",
                        "C|Sort=3|Caption=z,"})
            << "A=x ro {x}" << "B= {x|y}" << "" << QList<int>{-1, -1, -1} << ".mkv" << 2;
        QTest::newRow("negative Index") << profile({"Main|Para=1|0=A", "A|Sort=1|Caption=x,|Index=-1"}) << "A= {x}"
                                        << "" << "" << QList<int>{-1, -1, -1} << ".mp4" << -1;
        QTest::newRow("missing section") << profile({"Main|Para=2|0=A|1=Gone", "A|Sort=2|Caption=x,"}) << ""
                                         << "A=x ro {x}; Gone= {}" << "" << QList<int>{-1, -1, -1} << ".mp4" << 0;
        QTest::newRow("Para beyond the names") << profile({"Main|Para=2|0=A", "A|Sort=1|List=0|Caption=t"})
                                               << "A=t; = {}" << "" << "" << QList<int>{-1, -1, -1} << ".mp4" << 0;
    }
    void load()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, video);
        QFETCH(QString, audio);
        QFETCH(QString, advanced);
        QFETCH(QList<int>, heights);
        QFETCH(QString, ext);
        QFETCH(int, error);
        QTemporaryDir dir;
        // LF line ends: a completed load rewrites the file with CR LF.
        const QByteArray lf = QByteArray(file).replace("\r\n", "\n");
        const QString path = writeFile(dir.filePath("p.apf"), lf);
        Editors e;
        for (EditorRows *rows : {&e.video, &e.audio, &e.advanced}) {
            rows->appendRow(QStringLiteral("Old"), QStringLiteral("x"));
            rows->setHeight(-1);
        }
        QString outputExt = QStringLiteral("unset");
        int raised = NoError;
        try {
            LoadProfileIntoEditors(path, e.all(), &outputExt);
        } catch (const ListIndexError &x) {
            raised = x.index();
            QCOMPARE(x.text(), QStringLiteral("List index out of bounds (%1)").arg(x.index()));
        }
        QCOMPARE(raised, error);
        QCOMPARE(dump(e.video), video);
        QCOMPARE(dump(e.audio), audio);
        QCOMPARE(dump(e.advanced), advanced);
        QCOMPARE((QList<int>{e.video.height(), e.audio.height(), e.advanced.height()}), heights);
        QCOMPARE(outputExt, ext);
        QCOMPARE(readFile(path), error == NoError ? file : lf);
    }

    void loadWithoutRewriteOrFile()
    {
        QTemporaryDir dir;
        Editors e;
        e.video.appendRow(QStringLiteral("Keep"), QStringLiteral("me"));
        QString ext;
        LoadProfileIntoEditors(dir.filePath("missing.apf"), e.all(), &ext);
        QCOMPARE(dump(e.video), QStringLiteral("Keep=me"));
        QVERIFY(ext.isEmpty());
        QVERIFY(!QFileInfo::exists(dir.filePath("missing.apf")));
        // Reading without the rewrite leaves the file's bytes alone; no extension asked for.
        const QByteArray lf = QByteArray(Example).replace("\r\n", "\n");
        const QString path = writeFile(dir.filePath("p.apf"), lf);
        LoadProfileIntoEditors(path, e.all(), nullptr, false);
        QCOMPARE(e.video.value(QStringLiteral("Video Size")), QStringLiteral("Original Size"));
        QCOMPARE(readFile(path), lf);
        QString options;
        BuildEncoderOptions(path, e.all(), options, false);
        QCOMPARE(options, QStringLiteral(" -optC "));
        QCOMPARE(readFile(path), lf);
        BuildEncoderOptions(path, e.all(), options);
        QCOMPARE(readFile(path), Example);
    }

    void buildOptions_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("changes");  // made in the editors after loading
        QTest::addColumn<QString>("options");      // appended to "pre"
        QTest::addColumn<int>("error");

        QTest::newRow("example defaults") << Example << QStringList() << "pre -optC " << NoError;
        QTest::newRow("example picks") << Example << QStringList{"1:Video Size=320x240", "2:Disable Audio=Yes"}
                                       << "pre -optA 320x240 -optB  -optC " << NoError;
        QTest::newRow("custom size sent as it stands")
            << Example << QStringList{"1:Video Size=640x480"} << "pre -optA 640x480 -optC " << NoError;
        QTest::newRow("caption in other letter case")
            << Example << QStringList{"2:Disable Audio=YES"} << "pre -optB  -optC " << NoError;
        QTest::newRow("read-only plain sends Value whatever shows")
            << QByteArray(Example).replace("Value=\\\r\n", "Value=1,2,\r\n")
            << QStringList{"1:Video Size=320x240", "3:Bit Exact Algorithms=No"} << "pre -optA 320x240 -optC 1,2,"
            << NoError;
        QTest::newRow("Para=0") << profile({"Main|Para=0"}) << QStringList() << "pre" << NoError;
        const QByteArray plain = profile({"Main|Para=3|0=Text|1=NoCmd|2=Pick", "Text|Sort=3|List=0|cmd=-optD|Caption=t",
                                          "NoCmd|Sort=3|List=0|Caption=u", "Pick|Sort=-1|cmd=-optE|Caption=a,b,|Value=1,2,"});
        QTest::newRow("plain text, unsent parameter, Sort carried over")
            << plain << QStringList() << "pre -optD t -optE 1" << NoError;
        QTest::newRow("plain text with blanks") << plain << QStringList{"3:Text=a b", "3:Pick=b"}
                                                << "pre -optD a b -optE 2" << NoError;
        QTest::newRow("plain text cleared") << plain << QStringList{"3:Text="} << "pre -optE 1" << NoError;
        QTest::newRow("pick without value item")
            << profile({"Main|Para=2|0=Ok|1=Short", "Ok|Sort=1|cmd=-a|Caption=x,|Value=1,",
                        "Short|Sort=1|cmd=-b|Caption=x,y,z,|Value=1,"})
            << QStringList{"1:Short=z"} << "pre" << 2;
    }
    void buildOptions()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, changes);
        QFETCH(QString, options);
        QFETCH(int, error);
        QTemporaryDir dir;
        const QString path = writeFile(dir.filePath("p.apf"), file);
        Editors e;
        LoadProfileIntoEditors(path, e.all(), nullptr);
        e.apply(changes);
        QString built = QStringLiteral("pre");
        int raised = NoError;
        try {
            BuildEncoderOptions(path, e.all(), built);
        } catch (const ListIndexError &x) {
            raised = x.index();
        }
        QCOMPARE(raised, error);
        QCOMPARE(built, options);
        // A missing profile gives nothing, whatever the editors show.
        QString none;
        BuildEncoderOptions(dir.filePath("missing.apf"), e.all(), none);
        QVERIFY(none.isEmpty());
    }

    void saveEditors_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("changes");
        QTest::addColumn<QByteArray>("expected");  // the file after saving

        QTest::newRow("only the changed pick") << Example << QStringList{"2:Disable Audio=Yes"}
                                               << QByteArray(Example).replace("Value=,\\,\r\nIndex=0", "Value=,\\,\r\nIndex=1");
        QTest::newRow("read-only parameters are never written")
            << profile({"Main|Para=2|0=A|1=B", "A|Sort=1|ReadOnly=1|Caption=x,y,", "B|Sort=1|ReadOnly=1|List=0|Caption=c"})
            << QStringList{"1:A=y", "1:B=changed"}
            << profile({"Main|Para=2|0=A|1=B", "A|Sort=1|ReadOnly=1|Caption=x,y,", "B|Sort=1|ReadOnly=1|List=0|Caption=c"});
        QTest::newRow("plain row: Caption and Value; missing keys go first")
            << profile({"Main|Para=1|0=T", "T|Sort=2|List=0|Caption=old"}) << QStringList{"2:T=new text"}
            << profile({"Main|Para=1|0=T", "T|Value=new text|Sort=2|List=0|Caption=new text"});
        QTest::newRow("pick matched without case; unknown value gives -1")
            << profile({"Main|Para=2|0=A|1=B", "A|Sort=3|Caption=x,y,|Index=0", "B|Caption=p,q,|Index=1"})
            << QStringList{"3:A=Y", "3:B=other"}
            << profile({"Main|Para=2|0=A|1=B", "A|Sort=3|Caption=x,y,|Index=1", "B|Caption=p,q,|Index=-1"});
        // A skipped read-only parameter still moves the editor on, as the loader does.
        QTest::newRow("Sort carried over a read-only parameter")
            << profile({"Main|Para=3|0=A|1=R|2=B", "A|Sort=1|Caption=x,y,", "R|Sort=2|ReadOnly=1|List=0|Caption=r",
                        "B|Caption=p,q,"})
            << QStringList{"1:A=y", "2:B=q"}
            << profile({"Main|Para=3|0=A|1=R|2=B", "A|Index=1|Sort=1|Caption=x,y,", "R|Sort=2|ReadOnly=1|List=0|Caption=r",
                        "B|Index=1|Caption=p,q,"});
    }
    void saveEditors()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, changes);
        QFETCH(QByteArray, expected);
        QTemporaryDir dir;
        const QString path = writeFile(dir.filePath("p.apf"), file);
        Editors e;
        LoadProfileIntoEditors(path, e.all(), nullptr);
        e.apply(changes);
        SaveEditorsToProfile(path, e.all());
        QCOMPARE(readFile(path), expected);
    }

    void saveProfileAs()
    {
        QTemporaryDir dir;
        const QString source = writeFile(dir.filePath("Profiles/src.apf"), Example);
        Editors e;
        LoadProfileIntoEditors(source, e.all(), nullptr);
        e.apply({"1:Video Size=Custom Size", "2:Disable Audio=Yes"});
        const QByteArray chosen = QByteArray(Example)
                                      .replace("Value=,320x240,,\r\nIndex=0", "Value=,320x240,,\r\nIndex=2")
                                      .replace("Value=,\\,\r\nIndex=0", "Value=,\\,\r\nIndex=1");
        // A new file, and an existing one replaced; the source stays as it was.
        const QString target = dir.filePath("Profiles/new.apf");
        SaveProfileAs(source, target, e.all());
        QCOMPARE(readFile(target), chosen);
        const QString existing = writeFile(dir.filePath("other.apf"), "[Main]\r\nPara=9\r\nJunk=1\r\n");
        SaveProfileAs(source, existing, e.all());
        QCOMPARE(readFile(existing), chosen);
        QCOMPARE(readFile(source), Example);
        // Onto itself: the profile keeps its structure and takes the choices.
        SaveProfileAs(source, source, e.all());
        QCOMPARE(readFile(source), chosen);
        // A missing source does nothing.
        SaveProfileAs(dir.filePath("missing.apf"), dir.filePath("none.apf"), e.all());
        QVERIFY(!QFileInfo::exists(dir.filePath("none.apf")));
        // A target that cannot be written is reported, and nothing is written anywhere.
        QVERIFY_THROWS_EXCEPTION(FileError, SaveProfileAs(source, dir.filePath("no/such/dir/x.apf"), e.all()));
    }
};

QTEST_GUILESS_MAIN(TestProfiles)
#include "tst_profiles.moc"
