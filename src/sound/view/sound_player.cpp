#include "sound/view/sound_player.h"

#include "sound/sound_effects.h"

#include <pulse/pulseaudio.h>
#include <pulse/thread-mainloop.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>

namespace plumix {

namespace {

// The mixer row the player sees, and its icon and kind (the servers offer
// sound roles; "game" is ours).
constexpr const char* RowName = "Plumix";
constexpr const char* AppId = "org.plumix.Plumix";
constexpr const char* IconName = "org.plumix.Plumix";
constexpr const char* Role = "game";
// The key the server remembers the row's volume and mute under: the same every
// run (a key with the process id in it forgets them, and the server's file
// grows by one key a run).
constexpr const char* RestoreKey = "sink-input-by-application-id:org.plumix.Plumix";

// The servers play a stream (queue - 2 requests) / 2 behind what it has written
// (PipeWire's period is that, rounded down to a power of two): 15 ms here, so a
// new effect, which overwrites the queue from the server's read position, is
// heard that soon. The long queue lets the sound thread sleep half a second
// between requests while the stream plays.
constexpr std::uint64_t RequestUs = 500'000;
constexpr std::uint64_t LatencyUs = 15'000;
constexpr std::uint64_t QueueUs = 2 * RequestUs + 2 * LatencyUs;
// The stream pauses this long after an effect has been heard, so the server
// may let the output sleep; it goes on playing silence while another program
// keeps the output awake, since the graph would then run at that program's
// period, and a paused stream that plays again waits for the end of it.
constexpr pa_usec_t PauseAfterUs = 500'000;
// A lost server is looked for again this often.
constexpr pa_usec_t RetryUs = 1'000'000;
constexpr std::uint32_t FallbackRate = 48000;
constexpr int NoEffect = -1;

pa_proplist* Properties(std::initializer_list<std::pair<const char*, const char*>> entries)
{
    pa_proplist* list = pa_proplist_new();
    for (const auto& [key, value] : entries) {
        pa_proplist_sets(list, key, value);
    }
    return list;
}

void Unref(pa_operation* operation)
{
    if (operation != nullptr) {
        pa_operation_unref(operation);
    }
}

// A recorder that PipeWire runs only while others play (as a level meter does).
bool Passive(const pa_proplist* props)
{
    const char* passive = pa_proplist_gets(props, "node.passive");
    return passive != nullptr && std::strcmp(passive, "true") == 0;
}

} // namespace

// Everything below runs on the sound thread (the main loop's), but for the
// constructor, the destructor and Request().
struct SoundPlayer::Output {
    explicit Output(const std::vector<std::filesystem::path>& dataFolders) : effects(dataFolders) {}
    ~Output();

    void Begin();
    // Any thread: the effect starts at the sound thread's next turn.
    void Request(SoundEffect effect);

    bool NewContext();
    void Connect();
    void ScheduleConnect();
    void Fail();
    void Disconnect();
    void OpenStream(const pa_sample_spec& sinkFormat);
    void Start(int effect);
    void Write(std::size_t bytes, pa_seek_mode_t seek);
    void Cork(bool pause);
    void Decide();
    void CountOthers();
    void FindSink();

    static void Woken(pa_mainloop_api*, pa_io_event*, int fd, pa_io_event_flags_t, void* self);
    static void RetryDue(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* self);
    static void PauseDue(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* self);
    static void FailDue(pa_mainloop_api*, pa_defer_event*, void* self);
    static void ContextChanged(pa_context* context, void* self);
    static void ServerKnown(pa_context* context, const pa_server_info* info, void* self);
    static void SinkKnown(pa_context* context, const pa_sink_info* info, int last, void* self);
    static void StreamChanged(pa_stream* stream, void* self);
    static void Writable(pa_stream* stream, std::size_t bytes, void* self);
    static void Moved(pa_stream* stream, void* self);
    static void StreamSinkKnown(pa_context*, const pa_sink_info* info, int last, void* self);
    static void Changed(pa_context*, pa_subscription_event_type_t, std::uint32_t, void* self);
    static void InputListed(pa_context*, const pa_sink_input_info* info, int last, void* self);
    static void RecorderListed(pa_context*, const pa_source_output_info* info, int last, void* self);

    const SoundEffects effects;
    pa_threaded_mainloop* loop = nullptr;
    pa_mainloop_api* api = nullptr;
    int wakeFd = -1;
    pa_io_event* wake = nullptr;
    std::atomic<int> pending{NoEffect};
    std::atomic<bool> connected{false};
    std::atomic<bool> playing{false};

    pa_context* context = nullptr;
    pa_time_event* retry = nullptr;
    pa_defer_event* failing = nullptr;
    pa_stream* stream = nullptr;
    std::array<PcmSamples, SoundEffectCount> clips;
    OneVoiceMixer mixer{2};
    std::uint32_t rate = FallbackRate;
    std::size_t frameBytes = 4;
    std::size_t queueBytes = 0;
    bool corked = true;
    pa_time_event* pauseDue = nullptr;

    // Other programs' streams on the stream's output (and recorders of it)
    // that keep it awake, counted again at every change of any.
    std::uint32_t sink = PA_INVALID_INDEX;
    std::uint32_t sinkMonitor = PA_INVALID_INDEX;
    bool othersPlay = false;
    bool othersFound = false;
    int listsPending = 0;
    bool countAgain = false;
};

void SoundPlayer::Output::Begin()
{
    loop = pa_threaded_mainloop_new();
    wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (loop == nullptr || wakeFd < 0) {
        return;
    }
    api = pa_threaded_mainloop_get_api(loop);
    wake = api->io_new(api, wakeFd, PA_IO_EVENT_INPUT, &Woken, this);
    if (NewContext()) {
        Connect();
    }
    pa_threaded_mainloop_set_name(loop, "plumix-sound");
    if (pa_threaded_mainloop_start(loop) < 0) {
        Disconnect();
        api->io_free(wake);
        wake = nullptr;
    }
}

SoundPlayer::Output::~Output()
{
    if (loop != nullptr) {
        pa_threaded_mainloop_lock(loop);
        Disconnect();
        if (retry != nullptr) {
            api->time_free(retry);
        }
        if (failing != nullptr) {
            api->defer_free(failing);
        }
        if (wake != nullptr) {
            api->io_free(wake);
        }
        pa_threaded_mainloop_unlock(loop);
        pa_threaded_mainloop_stop(loop);
        pa_threaded_mainloop_free(loop);
    }
    if (wakeFd >= 0) {
        close(wakeFd);
    }
}

void SoundPlayer::Output::Request(SoundEffect effect)
{
    if (wake == nullptr) {
        return;
    }
    pending.store(static_cast<int>(effect));
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = write(wakeFd, &one, sizeof one);
}

void SoundPlayer::Output::Woken(pa_mainloop_api*, pa_io_event*, int fd, pa_io_event_flags_t, void* self)
{
    std::uint64_t count = 0;
    [[maybe_unused]] const auto read = ::read(fd, &count, sizeof count);
    auto* output = static_cast<Output*>(self);
    const int effect = output->pending.exchange(NoEffect);
    if (effect != NoEffect) {
        output->Start(effect);
    }
}

bool SoundPlayer::Output::NewContext()
{
    pa_proplist* props = Properties({{PA_PROP_APPLICATION_NAME, RowName},
                                     {PA_PROP_APPLICATION_ID, AppId},
                                     {PA_PROP_APPLICATION_ICON_NAME, IconName}});
    context = pa_context_new_with_proplist(api, RowName, props);
    pa_proplist_free(props);
    if (context != nullptr) {
        pa_context_set_state_callback(context, &ContextChanged, this);
    }
    return context != nullptr;
}

void SoundPlayer::Output::Connect()
{
    // Never start a server of our own: on a desktop whose server is away for a
    // moment that would be a second one, fighting the first for the device.
    if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        Fail();
    }
}

// On the monotonic clock, through the context that is to connect.
void SoundPlayer::Output::ScheduleConnect()
{
    if (NewContext()) {
        retry = pa_context_rttime_new(context, pa_rtclock_now() + RetryUs, &RetryDue, this);
    }
}

void SoundPlayer::Output::RetryDue(pa_mainloop_api* api, pa_time_event* event, const struct timeval*, void* self)
{
    auto* output = static_cast<Output*>(self);
    api->time_free(event);
    output->retry = nullptr;
    output->Connect();
}

// Whatever failed is taken down on the loop's next turn, not inside the
// callback of the object that reports it.
void SoundPlayer::Output::Fail()
{
    connected = false;
    playing = false;
    if (failing == nullptr) {
        failing = api->defer_new(api, &FailDue, this);
    }
}

void SoundPlayer::Output::FailDue(pa_mainloop_api* api, pa_defer_event* event, void* self)
{
    auto* output = static_cast<Output*>(self);
    api->defer_free(event);
    output->failing = nullptr;
    output->Disconnect();
    if (output->retry == nullptr) {
        output->ScheduleConnect();
    }
}

void SoundPlayer::Output::Disconnect()
{
    connected = false;
    playing = false;
    mixer.Stop();
    if (pauseDue != nullptr) {
        api->time_free(pauseDue);
        pauseDue = nullptr;
    }
    if (stream != nullptr) {
        pa_stream_set_state_callback(stream, nullptr, nullptr);
        pa_stream_set_write_callback(stream, nullptr, nullptr);
        pa_stream_set_moved_callback(stream, nullptr, nullptr);
        pa_stream_disconnect(stream);
        pa_stream_unref(stream);
        stream = nullptr;
    }
    if (context != nullptr) {
        pa_context_set_state_callback(context, nullptr, nullptr);
        pa_context_set_subscribe_callback(context, nullptr, nullptr);
        pa_context_disconnect(context);
        pa_context_unref(context);
        context = nullptr;
    }
    othersPlay = othersFound = countAgain = false;
    listsPending = 0;
}

void SoundPlayer::Output::ContextChanged(pa_context* context, void* self)
{
    auto* output = static_cast<Output*>(self);
    switch (pa_context_get_state(context)) {
    case PA_CONTEXT_READY:
        Unref(pa_context_get_server_info(context, &ServerKnown, self));
        break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        output->Fail();
        break;
    default:
        break;
    }
}

// The stream takes the format of the output it plays on, so the server passes
// the game's samples on unchanged. A server without an output yet (one that is
// still starting) is asked again later, like one that is not there.
void SoundPlayer::Output::ServerKnown(pa_context* context, const pa_server_info* info, void* self)
{
    auto* output = static_cast<Output*>(self);
    pa_operation* asked = info != nullptr && info->default_sink_name != nullptr
                              ? pa_context_get_sink_info_by_name(context, info->default_sink_name, &SinkKnown, self)
                              : nullptr;
    if (asked == nullptr) {
        output->Fail();
    }
    Unref(asked);
}

void SoundPlayer::Output::SinkKnown(pa_context*, const pa_sink_info* info, int last, void* self)
{
    auto* output = static_cast<Output*>(self);
    if (info != nullptr) {
        output->OpenStream(info->sample_spec);
    } else if (last < 0) {
        output->Fail();
    }
}

void SoundPlayer::Output::OpenStream(const pa_sample_spec& sinkFormat)
{
    if (stream != nullptr || context == nullptr) {
        return;
    }
    pa_sample_spec format{PA_SAMPLE_S16NE, sinkFormat.rate, static_cast<std::uint8_t>(sinkFormat.channels == 1 ? 1 : 2)};
    if (format.rate < MinSampleRate || format.rate > MaxSampleRate) {
        format.rate = FallbackRate;
    }
    pa_channel_map map;
    pa_channel_map_init_auto(&map, format.channels, PA_CHANNEL_MAP_DEFAULT);
    clips = effects.Converted(format.channels, static_cast<int>(format.rate));
    mixer = OneVoiceMixer(format.channels);
    rate = format.rate;
    frameBytes = pa_frame_size(&format);

    pa_proplist* props = Properties({{PA_PROP_MEDIA_ROLE, Role},
                                     {PA_PROP_APPLICATION_ICON_NAME, IconName},
                                     {"module-stream-restore.id", RestoreKey}});
    stream = pa_stream_new_with_proplist(context, RowName, &format, &map, props);
    pa_proplist_free(props);
    if (stream == nullptr) {
        Fail();
        return;
    }
    pa_stream_set_state_callback(stream, &StreamChanged, this);
    pa_stream_set_write_callback(stream, &Writable, this);
    pa_stream_set_moved_callback(stream, &Moved, this);
    pa_buffer_attr attr{};
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.tlength = static_cast<std::uint32_t>(pa_usec_to_bytes(QueueUs, &format));
    attr.prebuf = static_cast<std::uint32_t>(-1);
    attr.minreq = static_cast<std::uint32_t>(pa_usec_to_bytes(RequestUs, &format));
    attr.fragsize = static_cast<std::uint32_t>(-1);
    corked = true;
    const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_START_CORKED | PA_STREAM_ADJUST_LATENCY);
    if (pa_stream_connect_playback(stream, nullptr, &attr, flags, nullptr, nullptr) < 0) {
        Fail();
    }
}

void SoundPlayer::Output::StreamChanged(pa_stream* stream, void* self)
{
    auto* output = static_cast<Output*>(self);
    switch (pa_stream_get_state(stream)) {
    case PA_STREAM_READY:
        output->queueBytes = pa_stream_get_buffer_attr(stream)->tlength;
        output->connected = true;
        pa_context_set_subscribe_callback(output->context, &Changed, self);
        Unref(pa_context_subscribe(output->context,
                                   static_cast<pa_subscription_mask_t>(PA_SUBSCRIPTION_MASK_SINK_INPUT |
                                                                       PA_SUBSCRIPTION_MASK_SOURCE_OUTPUT),
                                   nullptr, nullptr));
        output->FindSink();
        break;
    case PA_STREAM_FAILED:
    case PA_STREAM_TERMINATED:
        output->Fail();
        break;
    default:
        break;
    }
}

// The queue is kept full: of the effect, then of silence.
void SoundPlayer::Output::Writable(pa_stream*, std::size_t bytes, void* self)
{
    static_cast<Output*>(self)->Write(bytes, PA_SEEK_RELATIVE);
}

// The effect replaces everything the server holds but has not taken yet, so
// it is heard after what the server mixes ahead, however much is queued, and
// its first sample follows the last one heard of the effect it cuts.
void SoundPlayer::Output::Start(int effect)
{
    const PcmSamples& clip = clips[static_cast<std::size_t>(effect)];
    if (!connected || clip.empty()) {
        return;
    }
    mixer.Start(clip);
    Write(queueBytes, PA_SEEK_RELATIVE_ON_READ);
    if (corked) {
        Cork(false);
    }
    if (pauseDue != nullptr) {
        api->time_free(pauseDue);
    }
    const auto clipUs = static_cast<pa_usec_t>(clip.size() / static_cast<std::size_t>(mixer.Channels())) *
                        PA_USEC_PER_SEC / rate;
    pauseDue = pa_context_rttime_new(context, pa_rtclock_now() + LatencyUs + clipUs + PauseAfterUs, &PauseDue, this);
}

void SoundPlayer::Output::PauseDue(pa_mainloop_api* api, pa_time_event* event, const struct timeval*, void* self)
{
    auto* output = static_cast<Output*>(self);
    api->time_free(event);
    output->pauseDue = nullptr;
    output->Decide();
}

void SoundPlayer::Output::Write(std::size_t bytes, pa_seek_mode_t seek)
{
    while (bytes >= frameBytes && stream != nullptr) {
        void* data = nullptr;
        std::size_t size = bytes;
        if (pa_stream_begin_write(stream, &data, &size) < 0 || data == nullptr) {
            return;
        }
        size = std::min(size, bytes);
        size -= size % frameBytes;
        if (size == 0) {
            pa_stream_cancel_write(stream);
            return;
        }
        mixer.Render({static_cast<std::int16_t*>(data), size / sizeof(std::int16_t)});
        if (pa_stream_write(stream, data, size, nullptr, 0, seek) < 0) {
            return;
        }
        bytes -= size;
        seek = PA_SEEK_RELATIVE;
    }
}

void SoundPlayer::Output::Cork(bool pause)
{
    Unref(pa_stream_cork(stream, pause ? 1 : 0, nullptr, nullptr));
    corked = pause;
    playing = !pause;
}

// Plays while an effect is due or heard, or while others keep the output
// awake; pauses otherwise.
void SoundPlayer::Output::Decide()
{
    if (!connected || !othersFound) {
        return;
    }
    if (othersPlay && corked) {
        Cork(false);
    } else if (!othersPlay && !corked && pauseDue == nullptr) {
        Cork(true);
    }
}

void SoundPlayer::Output::FindSink()
{
    sink = pa_stream_get_device_index(stream);
    Unref(pa_context_get_sink_info_by_index(context, sink, &StreamSinkKnown, this));
}

void SoundPlayer::Output::Moved(pa_stream*, void* self)
{
    static_cast<Output*>(self)->FindSink();
}

void SoundPlayer::Output::StreamSinkKnown(pa_context*, const pa_sink_info* info, int, void* self)
{
    auto* output = static_cast<Output*>(self);
    if (info != nullptr) {
        output->sinkMonitor = info->monitor_source;
        output->CountOthers();
    }
}

void SoundPlayer::Output::Changed(pa_context*, pa_subscription_event_type_t, std::uint32_t, void* self)
{
    static_cast<Output*>(self)->CountOthers();
}

// Both lists are asked at once; a change while they come asks them again.
void SoundPlayer::Output::CountOthers()
{
    if (listsPending > 0) {
        countAgain = true;
        return;
    }
    countAgain = false;
    othersPlay = false;
    pa_operation* inputs = pa_context_get_sink_input_info_list(context, &InputListed, this);
    pa_operation* recorders = pa_context_get_source_output_info_list(context, &RecorderListed, this);
    listsPending = (inputs != nullptr ? 1 : 0) + (recorders != nullptr ? 1 : 0);
    Unref(inputs);
    Unref(recorders);
    if (listsPending == 0) {
        othersFound = true;  // as good as no others: the stream pauses as usual
        Decide();
    }
}

void SoundPlayer::Output::InputListed(pa_context*, const pa_sink_input_info* info, int last, void* self)
{
    auto* output = static_cast<Output*>(self);
    if (info != nullptr && output->stream != nullptr) {
        output->othersPlay |= info->sink == output->sink && !info->corked &&
                              info->index != pa_stream_get_index(output->stream);
    } else if (last != 0 && --output->listsPending == 0) {
        output->othersFound = true;
        output->countAgain ? output->CountOthers() : output->Decide();
    }
}

void SoundPlayer::Output::RecorderListed(pa_context*, const pa_source_output_info* info, int last, void* self)
{
    auto* output = static_cast<Output*>(self);
    if (info != nullptr) {
        output->othersPlay |= info->source == output->sinkMonitor && !info->corked && !Passive(info->proplist);
    } else if (last != 0 && --output->listsPending == 0) {
        output->othersFound = true;
        output->countAgain ? output->CountOthers() : output->Decide();
    }
}

SoundPlayer::SoundPlayer(std::function<bool()> soundOn, const std::vector<std::filesystem::path>& dataFolders)
    : soundOn_(std::move(soundOn)), output_(std::make_unique<Output>(dataFolders))
{
    output_->Begin();
}

SoundPlayer::~SoundPlayer() = default;

void SoundPlayer::PlaySfx(SoundEffect effect)
{
    if (output_->effects.HasSound(effect) && soundOn_ && soundOn_()) {
        output_->Request(effect);
    }
}

bool SoundPlayer::Connected() const
{
    return output_->connected;
}

bool SoundPlayer::Playing() const
{
    return output_->playing;
}

} // namespace plumix
