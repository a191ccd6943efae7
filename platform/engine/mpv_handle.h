// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one owner of the mpv engine handle. Creates and configures the engine
// for embedding (no config files, no keyboard bindings, no on-screen
// controller, video through the render API) and destroys it with the object.
// The handle is shared with the render widget and the event pump, which must
// both be gone before this object is destroyed.

#include <QString>
#include <QStringList>
#include <optional>

struct mpv_handle;

namespace sorinel::platform {

class MpvHandle {
public:
    MpvHandle();
    ~MpvHandle();
    MpvHandle(const MpvHandle&) = delete;
    MpvHandle& operator=(const MpvHandle&) = delete;

    mpv_handle* get() const { return handle_; }
    bool valid() const { return handle_ != nullptr; }

    // Runs a command synchronously; returns mpv's error code (0 on success).
    int command(const QStringList& args) const;
    // Loads a file replacing the current one; returns the new play-list
    // entry id, or -1 when mpv refused the command.
    long long loadFile(const QString& target) const;
    // The same with the target as bytes, passed on unchanged (a file name
    // need not be UTF-8).
    long long loadFile(const QByteArray& target) const;

    void setFlag(const char* name, bool on) const;
    void setDouble(const char* name, double value) const;
    void setString(const char* name, const QString& value) const;

    std::optional<double> getDouble(const char* name) const;
    std::optional<bool> getFlag(const char* name) const;

private:
    void chooseSoundOutput() const;

    mpv_handle* handle_ = nullptr;
    mutable const char* soundOutput_ = "";
};

}  // namespace sorinel::platform
