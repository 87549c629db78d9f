#include "platform/mixer/MixerPulse.h"

#include "platform/mixer/MixerRecords.h"

#include <pulse/pulseaudio.h>

#include <chrono>
#include <optional>
#include <string>

namespace {

// The most any one request waits for the server: the interface thread asks,
// and a local server answers within a few milliseconds even when busy.
constexpr pa_usec_t AnswerBound = 200 * PA_USEC_PER_MSEC;

struct SinkFacts {
    std::string name;
    pa_cvolume volume{};
};

}  // namespace

// A context on a mainloop thread of its own. Callers wait on the loop's
// condition with the loop locked; a timer on the loop wakes them at the
// deadline, so no wait outlasts AnswerBound.
class PulseSinkVolume::Connection {
public:
    static std::unique_ptr<Connection> connect()
    {
        std::unique_ptr<Connection> connection(new Connection);
        return connection->start() ? std::move(connection) : nullptr;
    }

    ~Connection()
    {
        if (loop_ == nullptr)
            return;
        pa_threaded_mainloop_stop(loop_);
        if (context_ != nullptr) {
            pa_context_set_state_callback(context_, nullptr, nullptr);
            pa_context_disconnect(context_);
            pa_context_unref(context_);
        }
        pa_threaded_mainloop_free(loop_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // A wait ran into its deadline: the server is there but does not answer
    // (stopped, wedged), so asking again at once would only wait again.
    bool timedOut() const { return timedOut_; }

    std::optional<SinkFacts> defaultSink()
    {
        struct Answer {
            Connection* self;
            std::optional<SinkFacts> facts;
            bool done = false;
        } answer{this, std::nullopt};
        const auto onSink = [](pa_context*, const pa_sink_info* info, int eol, void* data) {
            auto* answer = static_cast<Answer*>(data);
            if (eol == 0 && info != nullptr && !answer->facts)
                answer->facts = SinkFacts{info->name, info->volume};
            if (eol != 0)
                answer->done = true;
            pa_threaded_mainloop_signal(answer->self->loop_, 0);
        };
        const Locked lock(loop_);
        if (!run(pa_context_get_sink_info_by_name(context_, "@DEFAULT_SINK@", onSink, &answer), answer.done))
            return std::nullopt;
        return answer.facts;
    }

    bool setVolume(const SinkFacts& sink, pa_volume_t value)
    {
        struct Answer {
            Connection* self;
            bool done = false;
            bool success = false;
        } answer{this};
        const auto onDone = [](pa_context*, int success, void* data) {
            auto* answer = static_cast<Answer*>(data);
            answer->success = success != 0;
            answer->done = true;
            pa_threaded_mainloop_signal(answer->self->loop_, 0);
        };
        pa_cvolume volume;
        pa_cvolume_set(&volume, sink.volume.channels, value);
        const Locked lock(loop_);
        return run(pa_context_set_sink_volume_by_name(context_, sink.name.c_str(), &volume, onDone, &answer),
                   answer.done) &&
               answer.success;
    }

private:
    Connection() = default;

    class Locked {
    public:
        explicit Locked(pa_threaded_mainloop* loop) : loop_(loop) { pa_threaded_mainloop_lock(loop_); }
        ~Locked() { pa_threaded_mainloop_unlock(loop_); }
        Locked(const Locked&) = delete;
        Locked& operator=(const Locked&) = delete;

    private:
        pa_threaded_mainloop* loop_;
    };

    bool start()
    {
        loop_ = pa_threaded_mainloop_new();
        if (loop_ == nullptr)
            return false;
        pa_proplist* properties = pa_proplist_new();
        pa_proplist_sets(properties, PA_PROP_APPLICATION_NAME, "KolviPlayer");
        pa_proplist_sets(properties, PA_PROP_APPLICATION_ID, "kolviplayer");
        context_ = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(loop_), "KolviPlayer", properties);
        pa_proplist_free(properties);
        if (context_ == nullptr)
            return false;
        pa_context_set_state_callback(
            context_, [](pa_context*, void* loop) { pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop*>(loop), 0); },
            loop_);
        if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 ||
            pa_threaded_mainloop_start(loop_) < 0)
            return false;
        const Locked lock(loop_);
        bool ready = false;
        const auto settled = [&]() {
            const pa_context_state_t state = pa_context_get_state(context_);
            ready = state == PA_CONTEXT_READY;
            return ready || !PA_CONTEXT_IS_GOOD(state);
        };
        return waitUntil(settled) && ready;
    }

    // Waits, the loop locked, for the request's answer; the operation is
    // cancelled when the deadline passes or the connection breaks first.
    bool run(pa_operation* operation, const bool& done)
    {
        if (operation == nullptr)
            return false;
        const bool answered = waitUntil([&]() {
            return done || pa_operation_get_state(operation) != PA_OPERATION_RUNNING ||
                   !PA_CONTEXT_IS_GOOD(pa_context_get_state(context_));
        });
        if (!done)
            pa_operation_cancel(operation);
        pa_operation_unref(operation);
        return answered && done;
    }

    // With the loop locked: true once finished() holds, false at the deadline.
    template <typename Finished>
    bool waitUntil(Finished finished)
    {
        struct Alarm {
            pa_threaded_mainloop* loop;
            bool rang = false;
        } alarm{loop_};
        pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop_);
        timeval when{};
        pa_timeval_add(pa_gettimeofday(&when), AnswerBound);
        pa_time_event* timer = api->time_new(
            api, &when,
            [](pa_mainloop_api*, pa_time_event*, const timeval*, void* data) {
                auto* alarm = static_cast<Alarm*>(data);
                alarm->rang = true;
                pa_threaded_mainloop_signal(alarm->loop, 0);
            },
            &alarm);
        bool result = false;
        while (!(result = finished()) && !alarm.rang)
            pa_threaded_mainloop_wait(loop_);
        api->time_free(timer);
        timedOut_ = timedOut_ || (!result && alarm.rang);
        return result;
    }

    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    bool timedOut_ = false;
};

PulseSinkVolume::PulseSinkVolume(std::unique_ptr<Connection> connection, MixerDeviceInfo info)
    : connection_(std::move(connection)), info_(std::move(info))
{
}

PulseSinkVolume::~PulseSinkVolume() = default;

std::unique_ptr<PulseSinkVolume> PulseSinkVolume::open()
{
    std::unique_ptr<Connection> connection = Connection::connect();
    if (!connection)
        return nullptr;
    const std::optional<SinkFacts> sink = connection->defaultSink();
    if (!sink)
        return nullptr;
    MixerDeviceInfo info;
    info.name = "PulseAudio";
    info.driverVersion = (PA_MAJOR << 8) | PA_MINOR;
    info.lineName = "Master";
    info.channels = sink->volume.channels;
    info.minimum = PA_VOLUME_MUTED;
    info.maximum = PA_VOLUME_NORM;
    return std::unique_ptr<PulseSinkVolume>(new PulseSinkVolume(std::move(connection), std::move(info)));
}

template <typename Request>
bool PulseSinkVolume::withServer(Request request)
{
    const bool reused = connection_ != nullptr;
    if (!connection_)
        connection_ = Connection::connect();
    if (connection_ && request(*connection_))
        return true;
    // A connection that broke is made anew once (a restarted server); one
    // that went unanswered is not asked again now.
    connection_ = reused && connection_ && !connection_->timedOut() ? Connection::connect() : nullptr;
    if (connection_ && request(*connection_))
        return true;
    connection_.reset();
    return false;
}

bool PulseSinkVolume::read(DWORD& value)
{
    return withServer([&](Connection& connection) {
        const std::optional<SinkFacts> sink = connection.defaultSink();
        if (!sink)
            return false;
        value = clampVolume(pa_cvolume_max(&sink->volume), info_);
        return true;
    });
}

bool PulseSinkVolume::write(DWORD value)
{
    const pa_volume_t clamped = clampVolume(value, info_);
    return withServer([&](Connection& connection) {
        const std::optional<SinkFacts> sink = connection.defaultSink();
        return sink && connection.setVolume(*sink, clamped);
    });
}
