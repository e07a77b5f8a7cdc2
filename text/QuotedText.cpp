// Quoted texts cut short.
#include "text/QuotedText.h"

namespace velkor {
namespace {

bool continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::string QuotedText::of(std::string_view text) {
    if (text.size() <= kMaxBytes) {
        return std::string(text);
    }
    // Each cut moves onto the first byte of a character.
    std::size_t head = kHead;
    while (head > 0 && continuation(text[head])) {
        --head;
    }
    std::size_t tail = text.size() - kTail;
    while (tail < text.size() && continuation(text[tail])) {
        ++tail;
    }
    return std::string(text.substr(0, head)) + "..." + std::string(text.substr(tail));
}

}  // namespace velkor
