#include "setup/protocol/frame.h"

QByteArray buildFrame(std::initializer_list<FrameItem> items, const WireEncoding& encoding)
{
    QByteArray frame(""); // not null: an empty frame is still a frame
    for (const FrameItem& item : items) {
        switch (item.kind()) {
        case FrameItem::Byte:
            if (item.value() < 0 || item.value() > 0xFF)
                return {};
            frame.append(static_cast<char>(item.value()));
            break;
        case FrameItem::Word:
            if (item.value() < 0 || item.value() > 0xFFFF)
                return {};
            frame.append(static_cast<char>(item.value() >> 8));
            frame.append(static_cast<char>(item.value() & 0xFF));
            break;
        case FrameItem::Text: {
            const WireBytes bytes = encoding.encode(item.text());
            if (!bytes)
                return {};
            frame.append(bytes.bytes);
            break;
        }
        }
    }
    return frame;
}
