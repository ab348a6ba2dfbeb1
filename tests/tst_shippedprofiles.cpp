// Every shipped profile converts a real clip with ffmpeg: with its defaults, and with each
// caption of each pick list chosen in turn. The output must decode and show what the
// options asked for (codec, size, frame rate, sample rate, channels, streams present).
#include "profiles/profiles.h"
#include "shell/apperror.h"
#include "testutil.h"

#include <QtTest>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <functional>
#include <memory>

namespace {

struct Conversion
{
    QString label;        // profile | what was chosen
    QStringList options;  // the built options, split at blanks as the run does
    QString output;
    int exitCode = -1;
    QString encoderText;
    QString probeText;
};

// ffprobe's codec name for the encoders the profiles use.
QString CodecOf(const QString &encoder)
{
    static const QHash<QString, QString> names{
        {"libx264", "h264"},       {"libx265", "hevc"},   {"libvpx-vp9", "vp9"},   {"libvpx", "vp8"},
        {"mpeg4", "mpeg4"},        {"wmv1", "wmv1"},      {"wmv2", "wmv2"},        {"mpeg2video", "mpeg2video"},
        {"prores_ks", "prores"},   {"mjpeg", "mjpeg"},    {"gif", "gif"},          {"aac", "aac"},
        {"libmp3lame", "mp3"},     {"ac3", "ac3"},        {"mp2", "mp2"},          {"libopus", "opus"},
        {"libvorbis", "vorbis"},   {"wmav1", "wmav1"},    {"wmav2", "wmav2"},      {"pcm_s16le", "pcm_s16le"}};
    return names.value(encoder, QStringLiteral("(unknown encoder %1)").arg(encoder));
}

double Rate(const QString &text)
{
    const int slash = text.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return text.toDouble();
    const double den = text.mid(slash + 1).toDouble();
    return den == 0 ? 0 : text.left(slash).toDouble() / den;
}

// What is wrong with a conversion's output, judged by its options; empty when nothing is.
QString Check(const Conversion &c)
{
    if (c.exitCode != 0)
        return QStringLiteral("ffmpeg exited with %1: %2").arg(c.exitCode).arg(c.encoderText.right(600));
    const QJsonObject probe = QJsonDocument::fromJson(c.probeText.toUtf8()).object();
    QJsonObject video, audio;
    for (const QJsonValue &s : probe.value(QStringLiteral("streams")).toArray()) {
        const QJsonObject stream = s.toObject();
        const QString type = stream.value(QStringLiteral("codec_type")).toString();
        if (type == QLatin1String("video") && video.isEmpty())
            video = stream;
        else if (type == QLatin1String("audio") && audio.isEmpty())
            audio = stream;
    }
    const QStringList &o = c.options;
    const auto option = [&](const QString &name) {
        const int i = o.indexOf(name);
        return i >= 0 && i + 1 < o.size() ? o[i + 1] : QString();
    };
    QStringList problems;
    const bool wantVideo = !o.contains(QStringLiteral("-vn"));
    const bool wantAudio = !o.contains(QStringLiteral("-an"));
    if (wantVideo != !video.isEmpty())
        problems << QStringLiteral("video stream %1").arg(wantVideo ? "missing" : "present");
    if (wantAudio != !audio.isEmpty())
        problems << QStringLiteral("audio stream %1").arg(wantAudio ? "missing" : "present");
    for (const QJsonObject &s : {video, audio}) {
        if (!s.isEmpty() && s.value(QStringLiteral("nb_read_frames")).toString().toInt() <= 0)
            problems << QStringLiteral("%1 does not decode").arg(s.value(QStringLiteral("codec_type")).toString());
    }
    if (!video.isEmpty()) {
        const QString codec = option(QStringLiteral("-c:v"));
        if (!codec.isEmpty() && video.value(QStringLiteral("codec_name")).toString() != CodecOf(codec))
            problems << QStringLiteral("video codec %1, wanted %2").arg(video.value(QStringLiteral("codec_name")).toString(), codec);
        const QString size = option(QStringLiteral("-s"));
        const QString got = QStringLiteral("%1x%2").arg(video.value(QStringLiteral("width")).toInt())
                                .arg(video.value(QStringLiteral("height")).toInt());
        if (!size.isEmpty() && got != size)
            problems << QStringLiteral("size %1, wanted %2").arg(got, size);
        const QString rate = option(QStringLiteral("-r"));
        if (!rate.isEmpty()) {
            const double want = Rate(rate);
            const double r = Rate(video.value(QStringLiteral("r_frame_rate")).toString());
            const double avg = Rate(video.value(QStringLiteral("avg_frame_rate")).toString());
            if (qAbs(r - want) > want * 0.01 && qAbs(avg - want) > want * 0.01)
                problems << QStringLiteral("frame rate %1, wanted %2")
                                .arg(video.value(QStringLiteral("r_frame_rate")).toString(), rate);
        }
    }
    if (!audio.isEmpty()) {
        const QString codec = option(QStringLiteral("-c:a"));
        if (!codec.isEmpty() && audio.value(QStringLiteral("codec_name")).toString() != CodecOf(codec))
            problems << QStringLiteral("audio codec %1, wanted %2").arg(audio.value(QStringLiteral("codec_name")).toString(), codec);
        const QString sampleRate = option(QStringLiteral("-ar"));
        if (!sampleRate.isEmpty() && audio.value(QStringLiteral("sample_rate")).toString() != sampleRate)
            problems << QStringLiteral("sample rate %1, wanted %2").arg(audio.value(QStringLiteral("sample_rate")).toString(), sampleRate);
        const QString channels = option(QStringLiteral("-ac"));
        if (!channels.isEmpty() && QString::number(audio.value(QStringLiteral("channels")).toInt()) != channels)
            problems << QStringLiteral("%1 channels, wanted %2").arg(audio.value(QStringLiteral("channels")).toInt()).arg(channels);
    }
    return problems.join(QStringLiteral("; "));
}

// Runs the conversions, two at a time: ffmpeg, then ffprobe on its output.
class Runner : public QObject
{
public:
    explicit Runner(QList<Conversion> &jobs, const QString &source) : m_jobs(jobs), m_source(source) {}
    void run()
    {
        QEventLoop loop;
        m_done = [&loop] { loop.quit(); };
        for (int i = 0; i < 2; ++i)
            next();
        if (m_running > 0)
            loop.exec();
    }

private:
    void next()
    {
        if (m_next >= m_jobs.size()) {
            if (m_running == 0)
                m_done();
            return;
        }
        const int i = m_next++;
        ++m_running;
        Conversion &c = m_jobs[i];
        QStringList args{"-hide_banner", "-nostdin", "-loglevel", "error", "-y", "-i", m_source};
        args << c.options << c.output;
        start(QStringLiteral(ORVELLE_FFMPEG), args, [this, i](int code, const QString &text) {
            Conversion &c = m_jobs[i];
            c.exitCode = code;
            c.encoderText = text;
            if (code != 0) {
                finish();
                return;
            }
            start(QStringLiteral(ORVELLE_FFPROBE),
                  {"-v", "error", "-count_frames", "-show_entries",
                   "stream=codec_type,codec_name,width,height,r_frame_rate,avg_frame_rate,sample_rate,channels,"
                   "nb_read_frames",
                   "-of", "json", c.output},
                  [this, i](int, const QString &probe) {
                      m_jobs[i].probeText = probe;
                      QFile::remove(m_jobs[i].output);
                      finish();
                  });
        });
    }
    void finish()
    {
        --m_running;
        next();
        if (m_running == 0 && m_next >= m_jobs.size())
            m_done();
    }
    void start(const QString &program, const QStringList &args, std::function<void(int, const QString &)> then)
    {
        auto *p = new QProcess(this);
        p->setProcessChannelMode(QProcess::SeparateChannels);
        p->setStandardInputFile(QProcess::nullDevice());
        connect(p, &QProcess::finished, this, [p, then](int code, QProcess::ExitStatus status) {
            const QString text = QString::fromUtf8(p->readAllStandardOutput() + p->readAllStandardError());
            p->deleteLater();
            then(status == QProcess::NormalExit ? code : -1, text);
        });
        connect(p, &QProcess::errorOccurred, this, [p, then](QProcess::ProcessError e) {
            if (e == QProcess::FailedToStart) {
                p->deleteLater();
                then(-1, QStringLiteral("could not start"));
            }
        });
        p->start(program, args);
    }

    QList<Conversion> &m_jobs;
    QString m_source;
    int m_next = 0;
    int m_running = 0;
    std::function<void()> m_done;
};

}  // namespace

class TestShippedProfiles : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_folder;
    QString m_source;

private Q_SLOTS:
    void initTestCase()
    {
        m_folder = TestUtil::makeAppDir(m_dir, true) + QStringLiteral("Profiles/");
        m_source = m_dir.filePath(QStringLiteral("source.mkv"));
        QVERIFY(TestUtil::makeClip(m_source, 1.0,
                                   {"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "aac"}));
    }

    void everyPickConverts_data()
    {
        QTest::addColumn<QString>("file");
        const QStringList files = ListFilesByExt(m_folder, QStringLiteral(".apf"));
        QVERIFY2(files.size() >= 11, qPrintable(files.join(", ")));
        for (const QString &file : files)
            QTest::newRow(qPrintable(file)) << file;
    }
    void everyPickConverts()
    {
        QFETCH(QString, file);
        const QString path = m_folder + file;
        EditorRows video, audio, advanced;
        const ProfileEditors editors{&video, &audio, &advanced};
        QString ext;
        try {
            LoadProfileIntoEditors(path, editors, &ext);
        } catch (const AppError &e) {
            QFAIL(qPrintable(e.text()));
        }
        QVERIFY(ext.size() > 1);
        // The defaults, then each other caption of each pick list in turn.
        QList<Conversion> jobs;
        QStringList failures;
        const auto add = [&](const QString &what) {
            Conversion c;
            c.label = what;
            try {
                QString options;
                BuildEncoderOptions(path, editors, options);
                c.options = options.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            } catch (const AppError &e) {
                failures << what + QStringLiteral(": ") + e.text();
                return;
            }
            c.output = m_dir.filePath(QStringLiteral("out%1%2").arg(jobs.size()).arg(ext));
            jobs << c;
        };
        add(QStringLiteral("defaults"));
        for (EditorRows *rows : {&video, &audio, &advanced}) {
            for (int r = 0; r < rows->rowCount(); ++r) {
                const EditorRows::Row row = rows->row(r);
                if (!row.pickList)
                    continue;
                for (const QString &item : row.items) {
                    if (item == row.value || item == QLatin1String("Custom Size"))
                        continue;
                    rows->setValueAt(r, item);
                    add(row.key + QStringLiteral(" = ") + item);
                }
                // What the size dialog leaves in the row: a size that is not a caption.
                if (row.key == QLatin1String("Video Size") && row.items.contains(QStringLiteral("Custom Size"))) {
                    rows->setValueAt(r, QStringLiteral("200x150"));
                    add(QStringLiteral("Video Size = 200x150 (custom)"));
                }
                rows->setValueAt(r, row.value);
            }
        }
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));

        Runner(jobs, m_source).run();
        for (const Conversion &c : jobs) {
            const QString problem = Check(c);
            if (!problem.isEmpty())
                failures << c.label + QStringLiteral(" [") + c.options.join(QLatin1Char(' ')) + QStringLiteral("]: ")
                                + problem;
        }
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
    }
};

QTEST_GUILESS_MAIN(TestShippedProfiles)
#include "tst_shippedprofiles.moc"
