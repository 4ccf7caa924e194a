// The window manager's lock, handle table, per-thread queues and window geometry.
#include "user/UserState.h"

#include <map>

#include <vela/Screen.h>

namespace vela::user {

std::mutex& Lock() {
  static std::mutex* lock = new std::mutex;  // outlives every thread's exit handlers
  return *lock;
}

std::uint64_t Now() { return vela::clock::Tick(); }

// ---- Handles -------------------------------------------------------------------------------
// A handle carries a slot number and the slot's generation, so the handle of a destroyed
// window stays invalid after its slot is reused.

namespace {

struct Slot {
  Window* window = nullptr;
  std::uint32_t generation = 1;
};

struct HandleTable {
  std::vector<Slot> slots;
  std::vector<std::uint32_t> free;
};

HandleTable& Handles() {
  static HandleTable* table = new HandleTable;
  return *table;
}

constexpr std::uintptr_t kSlotBase = 0x100;

HWND Encode(std::uint32_t slot, std::uint32_t generation) {
  const std::uintptr_t value = (static_cast<std::uintptr_t>(generation) << 32) | ((slot + kSlotBase) << 4);
  return reinterpret_cast<HWND>(value);
}

bool Decode(HWND hwnd, std::uint32_t& slot, std::uint32_t& generation) {
  const auto value = reinterpret_cast<std::uintptr_t>(hwnd);
  const std::uintptr_t low = value & 0xffffffffu;
  if ((low & 0xf) != 0 || (low >> 4) < kSlotBase) {
    return false;
  }
  slot = static_cast<std::uint32_t>((low >> 4) - kSlotBase);
  generation = static_cast<std::uint32_t>(value >> 32);
  return true;
}

}  // namespace

HWND NewHandle(Window* window) {
  HandleTable& t = Handles();
  std::uint32_t slot;
  if (!t.free.empty()) {
    slot = t.free.back();
    t.free.pop_back();
  } else {
    slot = static_cast<std::uint32_t>(t.slots.size());
    t.slots.push_back({});
  }
  t.slots[slot].window = window;
  return Encode(slot, t.slots[slot].generation);
}

void ReleaseHandle(HWND hwnd) {
  HandleTable& t = Handles();
  std::uint32_t slot, generation;
  if (!Decode(hwnd, slot, generation) || slot >= t.slots.size() || t.slots[slot].generation != generation) {
    return;
  }
  t.slots[slot].window = nullptr;
  ++t.slots[slot].generation;
  t.free.push_back(slot);
}

Window* Find(HWND hwnd) {
  if (hwnd == nullptr) {
    return nullptr;
  }
  HandleTable& t = Handles();
  std::uint32_t slot, generation;
  if (!Decode(hwnd, slot, generation) || slot >= t.slots.size() || t.slots[slot].generation != generation) {
    return nullptr;
  }
  Window* w = t.slots[slot].window;
  return (w != nullptr && !w->dead) ? w : nullptr;
}

Window* FindOrFail(HWND hwnd) {
  Window* w = Find(hwnd);
  if (w == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  }
  return w;
}

// ---- The desktop ---------------------------------------------------------------------------

Window* Desktop() {
  static Window* desktop = [] {
    auto* w = new Window;
    w->cls = std::make_shared<WindowClass>();
    w->cls->name = u"#32769";
    w->cls->background = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_BACKGROUND + 1));
    w->style = WS_VISIBLE | WS_CLIPCHILDREN;
    w->created = true;
    w->handle = NewHandle(w);
    // Painted whole the first time a window appears (PaintDesktop).
    w->update = gdi::Region(0, 0, vela::screen::Width(), vela::screen::Height());
    return w;
  }();
  // The screen can be resized by tests and the simulator; the desktop always covers it.
  desktop->rect = {0, 0, vela::screen::Width(), vela::screen::Height()};
  return desktop;
}

bool IsTopLevel(const Window* w) { return w->parent != nullptr && w->parent->parent == nullptr; }

// ---- Queues --------------------------------------------------------------------------------

namespace {

std::map<DWORD, std::weak_ptr<Queue>>& Queues() {
  static auto* queues = new std::map<DWORD, std::weak_ptr<Queue>>;
  return *queues;
}

// The map of queues has a lock of its own (taken after the window manager's when both are held),
// so a thread's first use of its queue works also with the window manager's lock held.
std::mutex& QueuesLock() {
  static auto* lock = new std::mutex;
  return *lock;
}

void DestroyWindowsOf(Window* w, Queue* queue, std::vector<Window*>& doomed) {
  for (Window* child : w->children) {
    DestroyWindowsOf(child, queue, doomed);
  }
  if (w->queue.get() == queue) {
    doomed.push_back(w);
  }
}

// The thread's queue lives as long as the thread; its windows go with it, without messages
// (nobody is left to receive them), and threads waiting for a reply are released.
struct QueueHolder {
  std::shared_ptr<Queue> queue;
  ~QueueHolder() {
    if (!queue) {
      return;
    }
    std::vector<std::shared_ptr<SentMessage>> orphans;
    {
      Guard g(Lock());
      {
        std::lock_guard queuesLock(QueuesLock());
        queue->alive = false;
        Queues().erase(queue->threadId);
      }
      std::vector<Window*> doomed;
      DestroyWindowsOf(Desktop(), queue.get(), doomed);
      // What the vanishing windows covered is painted again by what lies below them.
      std::vector<std::pair<Window*, gdi::Region>> uncovered;
      for (Window* w : doomed) {
        if (w->parent != nullptr && w->parent->queue.get() != queue.get()) {
          uncovered.emplace_back(w->parent, VisibleRegion(w, false, false));
        }
      }
      for (Window* w : doomed) {
        w->dead = true;
      }
      for (Window* w : doomed) {
        // Children of other threads lose their parent: they go to the desktop.
        for (Window* child : w->children) {
          if (!child->dead) {
            child->parent = Desktop();
            Desktop()->children.push_back(child);
          }
        }
        auto& siblings = w->parent->children;
        std::erase(siblings, w);
        --w->cls->windows;
        ReleaseHandle(w->handle);
      }
      for (Window* w : doomed) {
        delete w;
      }
      for (auto& [below, region] : uncovered) {
        InvalidateScreenRegion(below, region, true);
      }
      orphans.assign(queue->sent.begin(), queue->sent.end());
      queue->sent.clear();
      for (auto& m : orphans) {
        m->done = true;
      }
    }
    for (auto& m : orphans) {
      if (m->sender) {
        m->sender->alarm.Interrupt();
      }
    }
    PaintDesktop();
  }
};

thread_local QueueHolder t_queue;

}  // namespace

const std::shared_ptr<Queue>& CurrentQueue() {
  if (!t_queue.queue) {
    auto q = std::make_shared<Queue>();
    q->threadId = GetCurrentThreadId();
    std::lock_guard queuesLock(QueuesLock());
    Queues()[q->threadId] = q;
    t_queue.queue = std::move(q);
  }
  return t_queue.queue;
}

std::shared_ptr<Queue> QueueOfThread(DWORD threadId) {
  std::lock_guard queuesLock(QueuesLock());
  auto& queues = Queues();
  auto it = queues.find(threadId);
  if (it == queues.end()) {
    return nullptr;
  }
  auto q = it->second.lock();
  return (q && q->alive) ? q : nullptr;
}


// ---- Geometry ------------------------------------------------------------------------------

RECT ClientRectInWindow(const Window* w) {
  const LONG width = w->rect.right - w->rect.left;
  const LONG height = w->rect.bottom - w->rect.top;
  RECT r{0, 0, width, height};
  if (w->parent == nullptr) {
    return r;
  }
  const LONG border = (w->style & WS_BORDER) ? 1 : 0;
  const LONG caption = ((w->style & WS_CAPTION) == WS_CAPTION) ? GetSystemMetrics(SM_CYCAPTION) : 0;
  r.left += border;
  r.top += border + caption;
  r.right -= border;
  r.bottom -= border;
  if (r.right < r.left) {
    r.right = r.left;
  }
  if (r.bottom < r.top) {
    r.bottom = r.top;
  }
  return r;
}

POINT WindowOriginOnScreen(const Window* w) {
  if (w->parent == nullptr) {
    return {0, 0};
  }
  POINT p = ClientOriginOnScreen(w->parent);
  return {p.x + w->rect.left, p.y + w->rect.top};
}

POINT ClientOriginOnScreen(const Window* w) {
  POINT p = WindowOriginOnScreen(w);
  RECT c = ClientRectInWindow(w);
  return {p.x + c.left, p.y + c.top};
}

RECT WindowRectOnScreen(const Window* w) {
  POINT p = WindowOriginOnScreen(w);
  return {p.x, p.y, p.x + (w->rect.right - w->rect.left), p.y + (w->rect.bottom - w->rect.top)};
}

namespace {

RECT ClientRectOnScreen(const Window* w) {
  POINT p = ClientOriginOnScreen(w);
  RECT c = ClientRectInWindow(w);
  return {p.x, p.y, p.x + (c.right - c.left), p.y + (c.bottom - c.top)};
}

}  // namespace

bool IsReallyVisible(const Window* w) {
  for (; w != nullptr; w = w->parent) {
    if (!(w->style & WS_VISIBLE) || w->dead) {
      return false;
    }
  }
  return true;
}

gdi::Region VisibleRegion(const Window* w, bool client, bool clipChildren) {
  if (!IsReallyVisible(w)) {
    return {};
  }
  gdi::Region region(client ? ClientRectOnScreen(w) : WindowRectOnScreen(w));
  for (const Window* cur = w; cur->parent != nullptr; cur = cur->parent) {
    const Window* parent = cur->parent;
    region.Intersect(ClientRectOnScreen(parent));
    for (const Window* sibling : parent->children) {
      if (sibling == cur) {
        break;
      }
      if (sibling->style & WS_VISIBLE) {
        region.Subtract(WindowRectOnScreen(sibling));
      }
    }
  }
  if (clipChildren) {
    for (const Window* child : w->children) {
      if (child->style & WS_VISIBLE) {
        region.Subtract(WindowRectOnScreen(child));
      }
    }
  }
  return region;
}

bool NeedsPaint(const Window* w) {
  return !w->dead && (w->framePending || w->internalPaint || !w->update.IsEmpty()) && IsReallyVisible(w);
}

void InvalidateScreenRegion(Window* w, const gdi::Region& screenRegion, bool erase) {
  if (!IsReallyVisible(w) || screenRegion.IsEmpty()) {
    return;
  }
  gdi::Region clientPart = VisibleRegion(w, true, true);
  clientPart.Intersect(screenRegion);
  if (!clientPart.IsEmpty()) {
    const POINT origin = ClientOriginOnScreen(w);
    clientPart.Offset(-origin.x, -origin.y);
    w->update.Union(clientPart);
    w->erasePending = w->erasePending || erase;
  }
  if (w->parent != nullptr) {
    gdi::Region framePart = VisibleRegion(w, false, true);
    framePart.Subtract(gdi::Region(ClientRectOnScreen(w)));
    if (framePart.Intersects(screenRegion.Bounds()) && !framePart.IsEmpty()) {
      gdi::Region touched = framePart;
      touched.Intersect(screenRegion);
      if (!touched.IsEmpty()) {
        w->framePending = true;
      }
    }
  }
  for (Window* child : w->children) {
    InvalidateScreenRegion(child, screenRegion, erase);
  }
  if (w->queue && NeedsPaint(w)) {
    Wake(*w->queue);
  }
}

void ExposeBelow(Window* w, const gdi::Region& screenRegion) {
  Window* parent = w->parent != nullptr ? w->parent : Desktop();
  InvalidateScreenRegion(parent, screenRegion, true);
}

}  // namespace vela::user
