#pragma once
// The guard "MyMap" that keeps a second copy of the workstation from
// starting. It is a lock file held for the whole run; a lock left behind by
// a copy that was killed does not block the next start.
#include <QString>
#include <memory>

class QLockFile;

namespace zv {

class SingleInstanceGuard {
public:
    enum class Result { Acquired, AlreadyRunning, Failed };

    // `directory` holds the lock; the program uses the system's temporary
    // directory so that every user of the machine shares it.
    explicit SingleInstanceGuard(const QString &directory);
    ~SingleInstanceGuard();

    Result acquire();
    QString lockPath() const { return m_path; }

    static const QString Name; // "MyMap"

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace zv
