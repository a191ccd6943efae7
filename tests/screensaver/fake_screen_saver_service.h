// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A stand-in for the desktop's org.freedesktop.ScreenSaver service, on its
// own connection to the session bus of the test (dbus-run-session), so calls
// to it really travel through the bus. Records every call in order.

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace sorinel::testing {

struct SaverCall {
    QString method;  // "Inhibit" or "UnInhibit"
    QString path;
    QString appName;
    QString reason;
    uint cookie = 0;  // handed out by Inhibit, given back to UnInhibit
};

class FakeScreenSaverService;

// The object at one path; hands every call to the service.
class FakeScreenSaverObject : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public:
    FakeScreenSaverObject(FakeScreenSaverService& service, QString path);

public slots:
    uint Inhibit(const QString& appName, const QString& reason);
    void UnInhibit(uint cookie);

private:
    FakeScreenSaverService& service_;
    QString path_;
};

class FakeScreenSaverService {
public:
    // Registers the service with objects at paths; failWith, when set, is
    // the D-Bus error name every Inhibit answers with.
    explicit FakeScreenSaverService(QStringList paths = {"/org/freedesktop/ScreenSaver"}, QString failWith = {});
    ~FakeScreenSaverService();

    bool registered() const { return registered_; }
    const std::vector<SaverCall>& calls() const { return calls_; }
    // Holds handed out and not given back.
    int activeHolds() const;
    int count(const QString& method) const;

private:
    friend class FakeScreenSaverObject;

    QString connectionName_;
    QDBusConnection bus_;
    QString failWith_;
    bool registered_ = false;
    std::vector<std::unique_ptr<FakeScreenSaverObject>> objects_;
    std::vector<SaverCall> calls_;
    uint nextCookie_ = 4711;
};

}  // namespace sorinel::testing
