#include "platform/SystemView.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <algorithm>
#include <cstring>
#include <map>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {
namespace {

QString Canonical(const QString& path) {
    const QString c = QFileInfo(path).canonicalFilePath();
    return c.isEmpty() ? path : c;
}

// The kernel cuts comm at 15 characters; the program file named on the
// command line is whole, so a name that fills comm is taken from there.
QString ProcessName(qint64 pid) {
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly)) return QString();
    const QString name = QString::fromLocal8Bit(comm.readLine(256)).trimmed();
    if (name.size() < 15) return name;
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!cmdline.open(QIODevice::ReadOnly)) return name;
    const QString program =
        QFileInfo(QString::fromLocal8Bit(cmdline.read(4096).split('\0').value(0))).fileName();
    return program.startsWith(name) ? program : name;
}

#ifdef Q_OS_UNIX
// Reads /dev, /sys (through the serial-port info) and /proc.
class LinuxSystemView : public SystemView {
public:
    bool Exists(const QString& path) const override { return QFileInfo::exists(path); }

    bool CanReadWrite(const QString& path) const override {
        return ::access(QFile::encodeName(path).constData(), R_OK | W_OK) == 0;
    }

    QString GroupOf(const QString& path) const override {
        struct stat st {};
        if (::stat(QFile::encodeName(path).constData(), &st) != 0) return QString();
        const group* g = ::getgrgid(st.st_gid);
        return g ? QString::fromLocal8Bit(g->gr_name) : QString();
    }

    QString UserName() const override {
        const passwd* p = ::getpwuid(::geteuid());
        return p ? QString::fromLocal8Bit(p->pw_name) : QStringLiteral("$USER");
    }

    bool ListedInGroup(const QString& name) const override {
        const group* g = ::getgrnam(QFile::encodeName(name).constData());
        const passwd* p = ::getpwuid(::geteuid());
        if (!g || !p) return false;
        if (p->pw_gid == g->gr_gid) return true;
        for (char** m = g->gr_mem; m && *m; ++m)
            if (std::strcmp(*m, p->pw_name) == 0) return true;
        return false;
    }

    bool RunsWithGroup(const QString& name) const override {
        const group* g = ::getgrnam(QFile::encodeName(name).constData());
        if (!g) return false;
        if (::getegid() == g->gr_gid) return true;
        gid_t groups[256];
        const int count = ::getgroups(256, groups);
        return std::find(groups, groups + std::max(count, 0), g->gr_gid) != groups + std::max(count, 0);
    }

    std::vector<SerialDevice> SerialDevices() const override {
        std::vector<SerialDevice> out;
        for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
            out.push_back({info.systemLocation(), StableName(info.systemLocation())});
        std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.path < b.path; });
        return out;
    }

    QString StableName(const QString& path) const override {
        static const QString byId = QStringLiteral("/dev/serial/by-id");
        if (path.startsWith(byId + QLatin1Char('/'))) return path;
        const QString target = Canonical(path);
        for (const QFileInfo& link :
             QDir(byId).entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot))
            if (Canonical(link.absoluteFilePath()) == target) return link.absoluteFilePath();
        return QString();
    }

    QString Description(const QString& path) const override {
        const QSerialPortInfo info(QFileInfo(Canonical(path)).fileName());
        if (info.isNull()) return QString();
        QStringList parts;
        for (const QString& p : {info.description(), info.manufacturer()})
            if (!p.isEmpty() && !parts.contains(p)) parts << p;
        return parts.join(QStringLiteral(", "));
    }

    std::vector<PortHolder> Holders(const QString& path) const override {
        const QString target = Canonical(path);
        std::map<qint64, QString> found;
        // Open descriptors: readable for our own processes, for all as root.
        const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QString& entry : pids) {
            bool ok = false;
            const qint64 pid = entry.toLongLong(&ok);
            if (!ok) continue;
            const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
            for (const QString& fd : fds.entryList(QDir::System | QDir::NoDotAndDotDot)) {
                if (QFile::symLinkTarget(fds.filePath(fd)) == target) {
                    found[pid] = ProcessName(pid);
                    break;
                }
            }
        }
        // Lock files of programs that lock before they open.
        const QString lockName = QStringLiteral("LCK..") + QFileInfo(target).fileName();
        for (const char* dir : {"/var/lock", "/run/lock"}) {
            QFile lock(QDir(QString::fromLatin1(dir)).filePath(lockName));
            if (!lock.open(QIODevice::ReadOnly)) continue;
            bool ok = false;
            const qint64 pid = QString::fromLatin1(lock.read(64)).trimmed().toLongLong(&ok);
            if (ok && pid > 0 && QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid)) && !found.count(pid))
                found[pid] = ProcessName(pid);
        }
        std::vector<PortHolder> out;
        for (const auto& [pid, name] : found) out.push_back({pid, name});
        return out;
    }
};
using RealSystemView = LinuxSystemView;
#else
// Elsewhere the system tells nothing: the doctor stays silent on what it cannot see.
class NoSystemView : public SystemView {
public:
    bool Exists(const QString&) const override { return true; }
    bool CanReadWrite(const QString&) const override { return true; }
    QString GroupOf(const QString&) const override { return {}; }
    QString UserName() const override { return {}; }
    bool ListedInGroup(const QString&) const override { return false; }
    bool RunsWithGroup(const QString&) const override { return false; }
    std::vector<SerialDevice> SerialDevices() const override { return {}; }
    QString StableName(const QString&) const override { return {}; }
    QString Description(const QString& path) const override {
        const QSerialPortInfo info(path);
        return info.isNull() ? QString() : info.description();
    }
    std::vector<PortHolder> Holders(const QString&) const override { return {}; }
};
using RealSystemView = NoSystemView;
#endif

SystemView* g_override = nullptr;

}  // namespace

SystemView& systemView() {
    static RealSystemView real;
    return g_override ? *g_override : real;
}

void setSystemView(SystemView* view) {
    g_override = view;
}

}  // namespace platform
