#include "shared/JobEvents.h"

#include <algorithm>
#include <deque>
#include <exception>
#include <stdexcept>
#include <utility>
#include <vector>

namespace kal {

namespace {

std::uint32_t bitOf(JobEvent e) { return 1u << static_cast<unsigned>(e); }

}  // namespace

struct Subscription::Hub {
    struct Entry {
        std::uint64_t id;
        Subscriber slot;
        std::uint32_t events;  // bit per JobEvent
        JobEvents::Handler handler;
    };
    // Sorted by slot, then by id (registration order).
    std::vector<Entry> entries;
    std::uint64_t nextId = 1;
    int batchDepth = 0;
    std::uint32_t collected = 0;
    std::deque<JobEvent> queue;
    bool delivering = false;

    std::uint64_t add(Subscriber slot, std::uint32_t events, JobEvents::Handler handler) {
        const std::uint64_t id = nextId++;
        const auto at = std::upper_bound(entries.begin(), entries.end(), slot,
                                         [](Subscriber s, const Entry& e) { return s < e.slot; });
        entries.insert(at, Entry{id, slot, events, std::move(handler)});
        return id;
    }
    void remove(std::uint64_t id) {
        std::erase_if(entries, [id](const Entry& e) { return e.id == id; });
    }
    void enqueue(JobEvent e) {
        if (std::find(queue.begin(), queue.end(), e) == queue.end()) queue.push_back(e);
    }

    void dispatch(JobEvent e) {
        // The list may change under the handlers: walk a snapshot of ids and call each only
        // while it is still subscribed; a copy of the handler outlives an unsubscribe inside it.
        std::vector<std::uint64_t> ids;
        for (const Entry& entry : entries)
            if (entry.events & bitOf(e)) ids.push_back(entry.id);
        for (std::uint64_t id : ids) {
            const auto it =
                std::find_if(entries.begin(), entries.end(), [id](const Entry& x) { return x.id == id; });
            if (it == entries.end()) continue;
            JobEvents::Handler handler = it->handler;
            handler(e);
        }
    }

    void drain() {
        if (delivering) return;  // the running round delivers what was queued
        delivering = true;
        int delivered = 0;
        try {
            while (!queue.empty()) {
                const JobEvent e = queue.front();
                queue.pop_front();
                if (++delivered > JobEvents::kMaxDeliveriesPerRound)
                    throw std::logic_error("JobEvents: handlers keep emitting events to each other");
                dispatch(e);
            }
        } catch (...) {
            queue.clear();
            delivering = false;
            throw;
        }
        delivering = false;
    }
};

Subscription::Subscription(Subscription&& other) noexcept
    : hub_(std::move(other.hub_)), id_(std::exchange(other.id_, 0)) {}

Subscription& Subscription::operator=(Subscription&& other) noexcept {
    if (this != &other) {
        reset();
        hub_ = std::move(other.hub_);
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

Subscription::~Subscription() { reset(); }

void Subscription::reset() {
    if (auto hub = hub_.lock()) hub->remove(id_);
    hub_.reset();
    id_ = 0;
}

bool Subscription::active() const { return id_ != 0 && !hub_.expired(); }

JobEvents::JobEvents() : hub_(std::make_shared<Hub>()) {}
JobEvents::~JobEvents() = default;

Subscription JobEvents::subscribe(JobEvent event, Subscriber slot, std::function<void()> handler) {
    return subscribe({event}, slot, [h = std::move(handler)](JobEvent) { h(); });
}

Subscription JobEvents::subscribe(std::initializer_list<JobEvent> events, Subscriber slot, Handler handler) {
    std::uint32_t mask = 0;
    for (JobEvent e : events) mask |= bitOf(e);
    return Subscription(hub_, hub_->add(slot, mask, std::move(handler)));
}

void JobEvents::publish(JobEvent event) {
    const std::shared_ptr<Hub> hub = hub_;  // a handler may end the hub's owner
    if (hub->batchDepth > 0) {
        hub->collected |= bitOf(event);
        return;
    }
    hub->enqueue(event);
    hub->drain();
}

bool JobEvents::batching() const { return hub_->batchDepth > 0; }

void JobEvents::deliverPending() {
    const std::shared_ptr<Hub> hub = hub_;
    const std::uint32_t collected = std::exchange(hub->collected, 0u);
    for (int k = 0; k < kJobEventCount; ++k)
        if (collected & (1u << k)) hub->enqueue(static_cast<JobEvent>(k));
    hub->drain();
}

JobEvents::Batch::Batch(JobEvents& events) : events_(events), uncaught_(std::uncaught_exceptions()) {
    ++events_.hub_->batchDepth;
}

JobEvents::Batch::~Batch() noexcept(false) {
    if (ended_) return;
    if (std::uncaught_exceptions() > uncaught_)
        discard();
    else
        end();
}

void JobEvents::Batch::end() {
    if (ended_) return;
    ended_ = true;
    if (--events_.hub_->batchDepth == 0) events_.deliverPending();
}

void JobEvents::Batch::discard() {
    if (ended_) return;
    ended_ = true;
    events_.hub_->collected = 0;
    --events_.hub_->batchDepth;
}

}  // namespace kal
