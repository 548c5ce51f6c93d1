// Scanline seed fill (4-connected, exact colour equality).
#include <new>

#include "graphics/Bitmap.h"

namespace orvel {

namespace {

// A row segment still to be explored: the run [xLeft, xRight] of row y has
// been (or is being) filled; row y + dy next to it is to be looked at.
// Held in 32 bits so pictures wider or taller than 32767 pixels work.
struct Segment {
    int32_t xLeft;
    int32_t xRight;
    int32_t y;
    int32_t dy;
};

// Stack of segments in a linked list of small nodes; emptied nodes go to a
// free list and are taken again before anything new is allocated.
class SegmentStack {
public:
    SegmentStack() = default;
    SegmentStack(const SegmentStack&) = delete;
    SegmentStack& operator=(const SegmentStack&) = delete;
    ~SegmentStack() {
        FreeList(m_top);
        FreeList(m_free);
    }

    // False when no node could be had; the segment is then lost.
    bool Push(int32_t xLeft, int32_t xRight, int32_t y, int32_t dy) {
        if (!m_top || m_top->count == kPerNode) {
            Node* node = m_free;
            if (node) {
                m_free = node->next;
            } else {
                node = new (std::nothrow) Node;
                if (!node) return false;
            }
            node->count = 0;
            node->next = m_top;
            m_top = node;
        }
        m_top->items[m_top->count++] = Segment{xLeft, xRight, y, dy};
        return true;
    }

    bool Pop(Segment& out) {
        if (!m_top) return false;
        out = m_top->items[--m_top->count];
        if (m_top->count == 0) {
            Node* node = m_top;
            m_top = node->next;
            node->next = m_free;
            m_free = node;
        }
        return true;
    }

private:
    static constexpr int kPerNode = 256;
    struct Node {
        Node* next;
        int count;
        Segment items[kPerNode];
    };

    static void FreeList(Node* node) {
        while (node) {
            Node* next = node->next;
            delete node;
            node = next;
        }
    }

    Node* m_top = nullptr;
    Node* m_free = nullptr;
};

template <int BPP>
class Filler {
public:
    Filler(TMyBitmap& buf, TColor oldColor, TColor newColor)
        : m_buf(buf),
          m_ob(ColorB(oldColor)),
          m_og(ColorG(oldColor)),
          m_or(ColorR(oldColor)),
          m_nb(ColorB(newColor)),
          m_ng(ColorG(newColor)),
          m_nr(ColorR(newColor)) {}

    bool IsOld(const uint8_t* row, int x) const {
        const uint8_t* p = row + static_cast<ptrdiff_t>(x) * BPP;
        return p[0] == m_ob && p[1] == m_og && p[2] == m_or;
    }

    // Last column of the run of old pixels that starts at x.
    int RunEnd(const uint8_t* row, int x) const {
        const int last = m_buf.Width - 1;
        while (x < last && IsOld(row, x + 1)) ++x;
        return x;
    }

    // Fills the old pixels from x (itself old) to the right; returns the last.
    int FillRight(uint8_t* row, int x) const {
        const int width = m_buf.Width;
        uint8_t* p = row + static_cast<ptrdiff_t>(x) * BPP;
        do {
            p[0] = m_nb;
            p[1] = m_ng;
            p[2] = m_nr;
            p += BPP;
            ++x;
        } while (x < width && p[0] == m_ob && p[1] == m_og && p[2] == m_or);
        return x - 1;
    }

    // Fills the old pixels left of x; returns the leftmost filled column (or x).
    int FillLeft(uint8_t* row, int x) const {
        for (; x > 0; --x) {
            uint8_t* p = row + static_cast<ptrdiff_t>(x - 1) * BPP;
            if (p[0] != m_ob || p[1] != m_og || p[2] != m_or) break;
            p[0] = m_nb;
            p[1] = m_ng;
            p[2] = m_nr;
        }
        return x;
    }

    // Fills from the seed; minX..maxY grow to the filled pixels.
    void Run(int seedX, int seedY, int& minX, int& minY, int& maxX, int& maxY) {
        SegmentStack stack;
        {
            const uint8_t* row = RowPtr(m_buf, seedY);
            int l = seedX;
            while (l > 0 && IsOld(row, l - 1)) --l;
            const int r = RunEnd(row, seedX);
            // The seed's own row is filled when the second segment comes off.
            if (!stack.Push(l, r, seedY, +1) || !stack.Push(l, r, seedY + 1, -1)) return;
        }
        const int height = m_buf.Height;
        Segment seg;
        while (stack.Pop(seg)) {
            const int y = seg.y + seg.dy;
            if (y < 0 || y >= height) continue;
            uint8_t* row = RowPtr(m_buf, y);
            int x = seg.xLeft;
            int l;
            if (IsOld(row, x)) {
                l = FillLeft(row, x);
            } else {
                while (++x <= seg.xRight && !IsOld(row, x)) {
                }
                if (x > seg.xRight) continue;
                l = x;
            }
            for (;;) {
                const int r = FillRight(row, x);
                if (l < minX) minX = l;
                if (r > maxX) maxX = r;
                if (y < minY) minY = y;
                if (y > maxY) maxY = y;
                bool ok = stack.Push(l, r, y, seg.dy);
                // The parent's neighbours just past its ends were not of the
                // old colour, so only a run leaking two or more pixels past
                // an end can reach new pixels back in the parent's row.
                if (ok && l < seg.xLeft - 1) ok = stack.Push(l, seg.xLeft - 2, y, -seg.dy);
                if (ok && r > seg.xRight + 1) ok = stack.Push(seg.xRight + 2, r, y, -seg.dy);
                if (!ok) return;  // out of memory: stop extending
                x = r + 2;        // r + 1 is not of the old colour
                while (x <= seg.xRight && !IsOld(row, x)) ++x;
                if (x > seg.xRight) break;
                l = x;
            }
        }
    }

private:
    TMyBitmap& m_buf;
    uint8_t m_ob, m_og, m_or;
    uint8_t m_nb, m_ng, m_nr;
};

}  // namespace

void FloodFill(TMyBitmap& buf, int x, int y, TMyRect& bounds, bool track, TColor color) {
    if (track) SetBounds(bounds, x, y, x, y);
    const int32_t old = GetPixel(buf, x, y);
    color &= 0xFFFFFF;
    if (old == static_cast<int32_t>(color)) return;
    if (old < 0) return;  // outside the buffer
    int minX = x, minY = y, maxX = x, maxY = y;
    if (buf.BytesPerPixel == 4)
        Filler<4>(buf, static_cast<TColor>(old), color).Run(x, y, minX, minY, maxX, maxY);
    else
        Filler<3>(buf, static_cast<TColor>(old), color).Run(x, y, minX, minY, maxX, maxY);
    if (track) SetBounds(bounds, minX, minY, maxX, maxY);
}

}  // namespace orvel
