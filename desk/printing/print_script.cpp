#include "printing/print_script.h"

#include "printing/script_converter.h"
#include "printing/script_spool.h"
#include "printing/script_writer.h"

#include <QFile>

namespace {
// Removes a file at the end of a scope unless told to keep it.
class TFileGuard {
public:
    explicit TFileGuard(QString path) : path_(std::move(path)) {}
    TFileGuard(const TFileGuard&) = delete;
    TFileGuard& operator=(const TFileGuard&) = delete;
    ~TFileGuard() {
        if (!path_.isEmpty()) QFile::remove(path_);
    }
    void keep() { path_.clear(); }

private:
    QString path_;
};
} // namespace

QString printscript(const QStringList& lines, const QString& target, const QString& table,
                    const TPrintSettings& settings) {
    TScriptSpool& spool = TScriptSpool::instance();
    spool.poll();
    const TScriptFiles files = spool.reserve(settings.scriptFolder);
    TFileGuard converted(files.converted);
    {
        TFileGuard raw(files.raw);
        TScriptWriter writer(files.raw);
        for (const QString& line : lines)
            writer.writeline(line);
        writer.close();
        convertscript(files.raw, files.converted);
    }
    spool.submit(settings.sendToolPath, files.converted, target, table);
    converted.keep();
    return files.converted;
}
