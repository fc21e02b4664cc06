#pragma once

// Byte-level helpers shared by the fixture files; not for the tests.

#include <cstdio>
#include <cstdlib>

#include <QByteArray>
#include <QByteArrayView>

namespace fixtures {

// Appends integers in one byte order.
class Bytes
{
public:
    explicit Bytes(bool bigEndian = false) : m_big(bigEndian) {}
    Bytes &u8(int v)
    {
        m_data.append(static_cast<char>(v & 0xFF));
        return *this;
    }
    Bytes &u16(quint32 v)
    {
        return m_big ? u8(int(v >> 8)).u8(int(v)) : u8(int(v)).u8(int(v >> 8));
    }
    Bytes &u32(quint32 v)
    {
        return m_big ? u16(v >> 16).u16(v & 0xFFFF) : u16(v & 0xFFFF).u16(v >> 16);
    }
    Bytes &raw(const QByteArray &bytes)
    {
        m_data.append(bytes);
        return *this;
    }
    QByteArray data() const { return m_data; }
    qsizetype size() const { return m_data.size(); }

private:
    QByteArray m_data;
    bool m_big;
};

// The CRC of PNG chunks.
inline quint32 crc32(QByteArrayView bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (char c : bytes) {
        crc ^= static_cast<quint8>(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}


// A fixture that cannot be made ends the test program.
[[noreturn]] inline void brokenFixture(const char *what)
{
    std::fprintf(stderr, "fixture: %s\n", what);
    std::abort();
}

} // namespace fixtures
