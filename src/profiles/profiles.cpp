#include "profiles/profiles.h"

#include "profiles/newinifile.h"
#include "shell/apperror.h"
#include "tasks/taskrecord.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <memory>

QStringList ListFilesByExt(const QString &folder, const QString &ext)
{
    const QString wanted = LowerAscii(ext);
    QStringList names;
    // The folder is listed in name order without regard to case, so the chooser (and the
    // position the preferences remember) stays the same from one start to the next.
    const QDir dir(folder);
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System
                                                        | QDir::NoDotAndDotDot,
                                                    QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &info : entries) {
        if (info.isDir())
            continue;
        const QString name = info.fileName();
        const int dot = name.lastIndexOf(QLatin1Char('.'));
        const QString e = dot < 0 ? QString() : name.mid(dot);
        if (LowerAscii(e) == wanted)
            names.append(name);
    }
    return names;
}

QStringList SplitCommaList(const QString &text)
{
    QStringList items = text.split(QLatin1Char(','));
    items.removeLast();  // the text after the last comma is not an item
    return items;
}

namespace {

const QString Main = QStringLiteral("Main");

// A store kept for one operation. Released through SaveAndFree (which rewrites the
// file) when the operation ran through and rewriting is wanted; an error on the way
// drops it without writing.
class ProfileStore
{
public:
    explicit ProfileStore(const QString &path) : m_store(new TNewInifile(path)) {}
    TNewInifile *operator->() const { return m_store.get(); }
    void release(bool rewrite)
    {
        TNewInifile *store = m_store.release();
        if (rewrite) {
            SaveAndFree(store);
        } else {
            delete store;
        }
    }

private:
    std::unique_ptr<TNewInifile> m_store;
};

// The parameter names in the order of the numbered keys of "Main".
QString ParameterName(const ProfileStore &store, int i)
{
    return store->ReadString(Main, QString::number(i), QString());
}

// The editor of a parameter: by its "Sort" code, or the previous parameter's editor.
EditorRows *EditorFor(const ProfileStore &store, const QString &name, const ProfileEditors &editors,
                      EditorRows *previous)
{
    EditorRows *editor = editors.bySort(store->ReadInteger(name, QStringLiteral("Sort"), -1));
    return editor ? editor : previous;
}

// Position of text among items without regard to case, the first match counting; -1 when absent.
int IndexOfNoCase(const QStringList &items, const QString &text)
{
    for (int i = 0; i < items.size(); ++i) {
        if (items[i].compare(text, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

}  // namespace

void LoadProfileIntoEditors(const QString &path, const ProfileEditors &editors, QString *outputExt, bool rewrite)
{
    if (!QFileInfo(path).isFile())
        return;
    for (EditorRows *rows : {editors.video, editors.audio, editors.advanced}) {
        if (rows)
            rows->clear();
    }
    ProfileStore store(path);
    if (outputExt)
        *outputExt = QLatin1Char('.') + store->ReadString(Main, QStringLiteral("Type"), QStringLiteral("mp4"));
    const int n = store->ReadInteger(Main, QStringLiteral("Para"), 0);
    EditorRows *editor = nullptr;
    for (int i = 0; i < n; ++i) {
        const QString name = ParameterName(store, i);
        editor = EditorFor(store, name, editors, editor);
        // A first parameter without a valid "Sort" has no editor to go into.
        if (!editor)
            continue;
        const bool readOnly = store->ReadBool(name, QStringLiteral("ReadOnly"), false);
        editor->appendRow(name);
        editor->setReadOnly(name, readOnly);
        const bool list = store->ReadBool(name, QStringLiteral("List"), true);
        const QString caption = store->ReadString(name, QStringLiteral("Caption"), QString());
        if (list) {
            const QStringList items = SplitCommaList(caption);
            editor->setPickList(name, items);
            const int k = store->ReadInteger(name, QStringLiteral("Index"), 0);
            if (k < 0 || k >= items.size())
                throw ListIndexError(k);
            editor->setValue(name, items[k]);
            editor->setReadOnly(name, true);
        } else {
            editor->setValue(name, caption);
        }
    }
    store.release(rewrite);
    for (EditorRows *rows : {editors.video, editors.audio, editors.advanced}) {
        if (rows)
            rows->setHeight((EditorRows::RowHeight + 1) * rows->shownRowCount());
    }
}

void SaveEditorsToProfile(const QString &path, const ProfileEditors &editors)
{
    if (!QFileInfo(path).isFile())
        return;
    ProfileStore store(path);
    const int n = store->ReadInteger(Main, QStringLiteral("Para"), 0);
    EditorRows *editor = nullptr;
    for (int i = 0; i < n; ++i) {
        const QString name = ParameterName(store, i);
        // Every parameter moves the editor on, skipped ones included, so each is read from
        // the editor the loader put it in.
        editor = EditorFor(store, name, editors, editor);
        if (store->ReadBool(name, QStringLiteral("ReadOnly"), false))
            continue;
        // A parameter the editors do not show (no editor, or the file gained it after
        // loading) keeps what the file says.
        if (!editor || editor->findRow(name) < 0)
            continue;
        const QString v = editor->value(name);
        if (store->ReadBool(name, QStringLiteral("List"), true)) {
            store->WriteInteger(name, QStringLiteral("Index"), IndexOfNoCase(editor->pickItems(name), v));
        } else {
            store->WriteString(name, QStringLiteral("Caption"), v);
            store->WriteString(name, QStringLiteral("Value"), v);
        }
    }
    store.release(true);
}

void SaveProfileAs(const QString &source, const QString &target, const ProfileEditors &editors)
{
    const QFileInfo from(source);
    if (!from.isFile())
        return;
    // Saving a profile onto itself only writes the choices.
    if (from.canonicalFilePath() != QFileInfo(target).canonicalFilePath()) {
        const auto fail = [&](const QString &reason) {
            return FileError(QStringLiteral("Cannot create file \"%1\". %2").arg(target, reason));
        };
        QFile in(source);
        if (!in.open(QIODevice::ReadOnly))
            throw FileError(QStringLiteral("Cannot open file \"%1\". %2").arg(source, in.errorString()));
        const QByteArray bytes = in.readAll();
        QSaveFile out(target);
        out.setDirectWriteFallback(false);
        if (!out.open(QIODevice::WriteOnly))
            throw fail(out.errorString());
        if (out.write(bytes) != bytes.size()) {
            const QString reason = out.errorString();
            out.cancelWriting();
            throw fail(reason);
        }
        if (!out.commit())
            throw fail(out.errorString());
    }
    SaveEditorsToProfile(target, editors);
}

void BuildEncoderOptions(const QString &path, const ProfileEditors &editors, QString &options, bool rewrite)
{
    if (!QFileInfo(path).isFile())
        return;
    ProfileStore store(path);
    const int n = store->ReadInteger(Main, QStringLiteral("Para"), 0);
    QString built;
    EditorRows *editor = nullptr;
    for (int i = 0; i < n; ++i) {
        const QString name = ParameterName(store, i);
        editor = EditorFor(store, name, editors, editor);
        const bool readOnly = store->ReadBool(name, QStringLiteral("ReadOnly"), false);
        const QString cmd = store->ReadString(name, QStringLiteral("cmd"), QString());
        const bool list = store->ReadBool(name, QStringLiteral("List"), true);
        const QString caption = store->ReadString(name, QStringLiteral("Caption"), QString());
        const QString valueText = store->ReadString(name, QStringLiteral("Value"), QString());
        const QString shown = editor ? editor->value(name) : QString();
        QString v;
        if (list) {
            // The pick's value item; an entry that is not a caption (a custom size) as it stands.
            const int k = IndexOfNoCase(SplitCommaList(caption), shown);
            if (k >= 0) {
                const QStringList values = SplitCommaList(valueText);
                if (k >= values.size())
                    throw ListIndexError(k);
                v = values[k];
            } else {
                v = shown;
            }
        } else if (readOnly) {
            v = valueText;
        } else {
            v = shown;
        }
        if (cmd.isEmpty() || v.isEmpty())
            continue;
        if (v == QLatin1String("\\"))
            v.clear();  // an option without argument
        built += QLatin1Char(' ') + cmd + QLatin1Char(' ') + v;
    }
    store.release(rewrite);
    options += built;
}
