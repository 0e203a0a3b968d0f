// SPDX-License-Identifier: MIT
#include "NativeFile.h"

#include <algorithm>
#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

// Length of the valid UTF-8 sequence at p (at most n bytes), 0 when there is none. Overlong
// forms, surrogates and values past U+10FFFF are not valid, so they are escaped byte by byte.
int validSequence(const unsigned char *p, qsizetype n, char32_t &value)
{
    const unsigned char lead = p[0];
    int length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        value = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (n < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        value = value << 6 | (p[i] & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    return length;
}

}

QString pathFromNative(QByteArrayView bytes)
{
    QString out;
    out.reserve(bytes.size());
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype at = 0; at < n;) {
        char32_t value = 0;
        const int length = validSequence(p + at, n - at, value);
        if (length == 0) {
            out.append(QChar(char16_t(kEscapeBase + p[at])));
            ++at;
            continue;
        }
        if (value >= 0x10000) {
            const char32_t high = value - 0x10000;
            out.append(QChar(char16_t(0xD800 + (high >> 10))));
            out.append(QChar(char16_t(0xDC00 + (high & 0x3FF))));
        } else {
            out.append(QChar(char16_t(value)));
        }
        at += length;
    }
    return out;
}

QByteArray nativePath(QStringView path)
{
    QByteArray out;
    out.reserve(path.size());
    const qsizetype n = path.size();
    for (qsizetype at = 0; at < n; ++at) {
        const char16_t unit = path[at].unicode();
        char32_t value = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF && at + 1 < n && path[at + 1].unicode() >= 0xDC00 && path[at + 1].unicode() <= 0xDFFF) {
            value = 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (path[at + 1].unicode() - 0xDC00);
            ++at;
        } else if (unit >= 0xDC80 && unit <= 0xDCFF) {
            out.append(char(unit - kEscapeBase));
            continue;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            // A lone surrogate no name can have produced: it names nothing.
            value = 0xFFFD;
        }
        if (value < 0x80) {
            out.append(char(value));
        } else if (value < 0x800) {
            out.append(char(0xC0 | value >> 6));
            out.append(char(0x80 | (value & 0x3F)));
        } else if (value < 0x10000) {
            out.append(char(0xE0 | value >> 12));
            out.append(char(0x80 | (value >> 6 & 0x3F)));
            out.append(char(0x80 | (value & 0x3F)));
        } else {
            out.append(char(0xF0 | value >> 18));
            out.append(char(0x80 | (value >> 12 & 0x3F)));
            out.append(char(0x80 | (value >> 6 & 0x3F)));
            out.append(char(0x80 | (value & 0x3F)));
        }
    }
    return out;
}

RegularFile::RegularFile(const QString &path)
{
    const QByteArray native = nativePath(path);
    // A NUL would end the name early and open another file.
    if (native.isEmpty() || native.contains('\0')) {
        m_refusal = FileRefusal::Missing;
        return;
    }
    m_fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (m_fd < 0) {
        m_refusal = errno == ENXIO ? FileRefusal::NotRegular : FileRefusal::Missing;
        return;
    }
    struct stat info {};
    if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(m_fd);
        m_fd = -1;
        m_refusal = FileRefusal::NotRegular;
        return;
    }
    m_size = info.st_size;
}

RegularFile::~RegularFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

RegularFile::RegularFile(RegularFile &&other) noexcept
    : m_fd(std::exchange(other.m_fd, -1))
    , m_size(other.m_size)
    , m_refusal(other.m_refusal)
{
}

RegularFile &RegularFile::operator=(RegularFile &&other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
        m_size = other.m_size;
        m_refusal = other.m_refusal;
    }
    return *this;
}

std::optional<QByteArray> RegularFile::readAll(qint64 limit)
{
    if (m_fd < 0)
        return std::nullopt;
    if (m_size > limit) {
        m_refusal = FileRefusal::TooLarge;
        return std::nullopt;
    }
    QByteArray content;
    content.resize(static_cast<qsizetype>(m_size));
    qint64 done = 0;
    for (;;) {
        // One byte past the limit tells a file that grew too large from one that did not.
        if (done == content.size()) {
            if (done > limit) {
                m_refusal = FileRefusal::TooLarge;
                return std::nullopt;
            }
            content.resize(static_cast<qsizetype>(std::min<qint64>(limit + 1, done + 64 * 1024)));
        }
        const ssize_t n = ::pread(m_fd, content.data() + done, static_cast<size_t>(content.size() - done), done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            m_refusal = FileRefusal::Unreadable;
            return std::nullopt;
        }
        if (n == 0)
            break;
        done += n;
    }
    if (done > limit) {
        m_refusal = FileRefusal::TooLarge;
        return std::nullopt;
    }
    content.truncate(static_cast<qsizetype>(done));
    return content;
}

int RegularFile::release()
{
    return std::exchange(m_fd, -1);
}

std::optional<QByteArray> readRegularFile(const QString &path, qint64 limit, FileRefusal *why)
{
    RegularFile file(path);
    std::optional<QByteArray> content = file.readAll(limit);
    if (why)
        *why = content ? FileRefusal::None : file.refusal();
    return content;
}
