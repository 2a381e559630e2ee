#pragma once
// The change hub of a job: whoever changes the job emits one typed event, and each window that
// shows the job subscribes and refreshes itself. The producer never names the windows.
//
// Contract:
// - Order. Subscribers of an event run by their slot (`Subscriber`, lower first: result display,
//   graphics, main sheet, main window, then the rest); within a slot in registration order.
// - Tokens. `subscribe` returns a `Subscription`; dropping it unsubscribes, also while an event
//   is being delivered (the dropped subscriber is not called after). A token may outlive the hub.
//   A subscriber added while an event is delivered first hears the next one.
// - Batches. While a `Batch` is open (batches nest), emits are collected, each type once, and
//   delivered when the outermost batch ends, in the order of `JobEvent` (so a reset reaches the
//   windows before the results that follow it). A batch left by an exception, or discarded,
//   delivers nothing it collected: the work that raised the events did not finish, and whoever
//   catches puts the job back.
// - Re-entry. An emit from inside a handler is queued (once per type) and delivered after the
//   current event has reached every subscriber; handlers never nest. Handlers that keep emitting
//   each other's events without end are a fault: the hub throws std::logic_error after
//   kMaxDeliveriesPerRound deliveries.
// - Errors. An exception from a handler passes to the emitter (or the batch's end); the events
//   still queued are dropped, the hub stays usable.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>

namespace kal {

// What changed. The order is the delivery order of a batch.
enum class JobEvent : std::uint8_t {
    JobReset,            // a new or opened job replaced everything
    PointsReplaced,      // point sets read, matched, exchanged
    UseFlagsChanged,     // which coordinates take part in the calculation
    UnitsChanged,        // length or angle units, formats
    SavedViewsChanged,   // the stored graphics views
    CalculationStarted,  // a calculation begins: what shows the last results closes
    ResultsChanged,      // a calculation's results stand (parameters, residuals, Monte Carlo runs)
    CalculationEnded,    // a calculation ended, solved or not: command states change back
};
inline constexpr int kJobEventCount = 8;

// The fixed order in which windows hear of a change; lower runs first.
enum class Subscriber : std::uint8_t {
    ResultDisplay,  // the calculation window's results
    Graphics,       // every open graphics window
    MainSheet,
    MainWindow,  // its command states
    Other,       // windows nothing orders (details, input statistics): last, in registration order
};

class JobEvents;

// Unsubscribes when dropped. Movable, not copyable.
class Subscription {
  public:
    Subscription() = default;
    Subscription(Subscription&& other) noexcept;
    Subscription& operator=(Subscription&& other) noexcept;
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription();

    void reset();
    bool active() const;

  private:
    friend class JobEvents;
    struct Hub;
    Subscription(std::weak_ptr<Hub> hub, std::uint64_t id) : hub_(std::move(hub)), id_(id) {}
    std::weak_ptr<Hub> hub_;
    std::uint64_t id_ = 0;
};

class JobEvents {
  public:
    static constexpr int kMaxDeliveriesPerRound = 64;

    JobEvents();
    ~JobEvents();
    JobEvents(const JobEvents&) = delete;
    JobEvents& operator=(const JobEvents&) = delete;

    using Handler = std::function<void(JobEvent)>;

    [[nodiscard]] Subscription subscribe(JobEvent event, Subscriber slot, std::function<void()> handler);
    [[nodiscard]] Subscription subscribe(std::initializer_list<JobEvent> events, Subscriber slot,
                                         Handler handler);

    // Not `emit`: Qt reserves that word in every window that includes this header.
    // Delivers now, or collects while a batch is open, or queues while a handler runs.
    void publish(JobEvent event);

    bool batching() const;

    // Collects the emits of long work (a Monte Carlo series, a reweighting loop) for one delivery.
    class Batch {
      public:
        explicit Batch(JobEvents& events);
        // Delivers when it is the outermost batch, unless left by an exception.
        ~Batch() noexcept(false);
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

        // Ends the batch now (as its end of scope would, exceptions from handlers included).
        void end();
        // Drops everything collected so far by this and the enclosing batches, and ends this one.
        void discard();

      private:
        JobEvents& events_;
        int uncaught_;
        bool ended_ = false;
    };

  private:
    friend class Subscription;
    using Hub = Subscription::Hub;
    void deliverPending();
    std::shared_ptr<Hub> hub_;
};

}  // namespace kal
