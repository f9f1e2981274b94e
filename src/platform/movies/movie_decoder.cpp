#include "platform/movies/movie_decoder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>

#include "core/vb_error.h"
#include "platform/movies/ffmpeg_handles.h"
#include "platform/regular_file.h"
#include "platform/sound_files.h"

namespace qv::platform {

namespace {

constexpr AVCodecID kVideoCodecs[] = {
    AV_CODEC_ID_CINEPAK, AV_CODEC_ID_MSVIDEO1, AV_CODEC_ID_MSRLE,
    AV_CODEC_ID_INDEO3,  AV_CODEC_ID_INDEO4,   AV_CODEC_ID_INDEO5,
    AV_CODEC_ID_MJPEG,   AV_CODEC_ID_MPEG4,    AV_CODEC_ID_RAWVIDEO};
constexpr AVCodecID kSoundCodecs[] = {
    AV_CODEC_ID_PCM_U8,    AV_CODEC_ID_PCM_S16LE, AV_CODEC_ID_PCM_S24LE,     AV_CODEC_ID_PCM_S32LE,
    AV_CODEC_ID_PCM_F32LE, AV_CODEC_ID_ADPCM_MS,  AV_CODEC_ID_ADPCM_IMA_WAV, AV_CODEC_ID_MP3};

// What FFmpeg reads through: its own buffer, filled by us from the file or the bytes.
constexpr int kIoBufferBytes = 32 * 1024;
// Sound formats beyond these are no movie's.
constexpr int kMaxSampleRate = 384000;
constexpr int kMaxSoundChannels = 16;
// Room for the decoded sound waiting to be heard, and for the codecs' own pictures.
constexpr uint64_t kSoundBufferBytes = uint64_t{2} * kMixRate * kMixChannels * sizeof(int16_t);
constexpr int kCodecOwnFrames = 3;

template <typename List>
bool Listed(const List& list, AVCodecID id) {
  return std::find(std::begin(list), std::end(list), id) != std::end(list);
}

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual int Read(uint8_t* buffer, int size) = 0;
  virtual int64_t size() const = 0;
  int64_t Seek(int64_t offset, int whence) {
    if (whence & AVSEEK_SIZE) return size();
    whence &= ~AVSEEK_FORCE;
    int64_t to = offset;
    if (whence == SEEK_CUR) to = position_ + offset;
    if (whence == SEEK_END) to = size() + offset;
    if (to < 0 || to > size()) return AVERROR(EINVAL);
    position_ = to;
    return to;
  }

 protected:
  int64_t position_ = 0;
};

class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  int Read(uint8_t* buffer, int size) override {
    const int64_t left = static_cast<int64_t>(bytes_.size()) - position_;
    const int n = static_cast<int>(std::min<int64_t>(left, size));
    if (n <= 0) return AVERROR_EOF;
    std::memcpy(buffer, bytes_.data() + position_, static_cast<size_t>(n));
    position_ += n;
    return n;
  }
  int64_t size() const override { return static_cast<int64_t>(bytes_.size()); }

 private:
  std::span<const uint8_t> bytes_;
};

class FileSource : public ByteSource {
 public:
  FileSource(const std::filesystem::path& file, uintmax_t max_bytes) {
    CheckOrdinaryFile(file);
    fd_ = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat status {};
    if (fd_ < 0 || ::fstat(fd_, &status) != 0) Raise(kErrPathFileAccess);
    if (!S_ISREG(status.st_mode)) Raise(kErrFileNotFound);
    if (static_cast<uintmax_t>(status.st_size) > max_bytes) Raise(kErrInvalidFileFormat);
    size_ = status.st_size;
  }
  ~FileSource() override {
    if (fd_ >= 0) ::close(fd_);
  }
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  int Read(uint8_t* buffer, int size) override {
    const ssize_t n = ::pread(fd_, buffer, static_cast<size_t>(size), position_);
    if (n < 0) return AVERROR(EIO);
    if (n == 0) return AVERROR_EOF;
    position_ += n;
    return static_cast<int>(n);
  }
  int64_t size() const override { return size_; }

 private:
  int fd_ = -1;
  int64_t size_ = 0;
};

int ReadBytes(void* opaque, uint8_t* buffer, int size) {
  return static_cast<ByteSource*>(opaque)->Read(buffer, size);
}

int64_t SeekBytes(void* opaque, int64_t offset, int whence) {
  return static_cast<ByteSource*>(opaque)->Seek(offset, whence);
}

int64_t ToMs(int64_t ts, AVRational time_base) {
  return av_rescale_q(ts, time_base, AVRational{1, 1000});
}

[[noreturn]] void Refuse() {
  Raise(kErrInvalidFileFormat);
}

class FfmpegDecoder : public MovieDecoder {
 public:
  FfmpegDecoder(std::unique_ptr<ByteSource> source, const MovieLimits& limits, MemoryBudget& budget)
      : limits_(limits), source_(std::move(source)) {
    static std::once_flag quiet;
    std::call_once(quiet, [] { av_log_set_level(AV_LOG_QUIET); });
    CheckRiff();
    OpenContainer();
    ChooseStreams();
    // The pictures and sound held while playing, before any is decoded.
    const uint64_t frame_bytes = static_cast<uint64_t>(info_.width) * info_.height * 4;
    lease_ = budget.Reserve(frame_bytes *
                                static_cast<uint64_t>(limits_.queued_frames + 2 + kCodecOwnFrames) +
                            (sound_ ? kSoundBufferBytes : 0));
    video_ = OpenCodec(fmt_->streams[video_index_]);
    if (sound_index_ >= 0) sound_ = OpenCodec(fmt_->streams[sound_index_]);
    packet_.reset(av_packet_alloc());
    frame_.reset(av_frame_alloc());
    if (!packet_ || !frame_) Raise(kErrOutOfMemory);
  }

  ~FfmpegDecoder() override { av_channel_layout_uninit(&sound_layout_); }

  const MovieInfo& info() const override { return info_; }

  Got Next(MovieVideoFrame& frame, MovieSoundPiece& sound) override {
    while (!ended_) {
      if (Receive(video_.get()) && ConvertPicture(frame)) return Got::kFrame;
      if (Receive(sound_.get()) && ConvertSound(sound)) return Got::kSound;
      if (!input_done_) {
        ReadPacket();
      } else if (!flushed_) {
        flushed_ = true;
        avcodec_send_packet(video_.get(), nullptr);
        if (sound_) avcodec_send_packet(sound_.get(), nullptr);
      } else if (++drain_rounds_ > 4) {
        ended_ = true;  // both decoders have given what they had
      }
    }
    info_.duration_ms = std::max(video_end_ms_, SoundEndMs());
    return Got::kEnd;
  }

  void ScanDuration() override {
    int64_t end_ms = 0;
    while (av_read_frame(fmt_.get(), packet_.get()) >= 0) {
      const AVPacket& p = *packet_;
      const AVStream* stream = fmt_->streams[p.stream_index];
      const int64_t ts = p.pts != AV_NOPTS_VALUE ? p.pts : p.dts;
      if (ts != AV_NOPTS_VALUE && ts >= 0 && ts < (int64_t{1} << 48)) {
        int64_t length = std::clamp<int64_t>(p.duration, 0, int64_t{1} << 32);
        if (length == 0 && p.stream_index == video_index_) length = 1;
        end_ms = std::max(end_ms, ToMs(ts + length, stream->time_base));
      }
      av_packet_unref(packet_.get());
    }
    info_.duration_ms = std::min(end_ms, limits_.max_duration_ms);
    input_done_ = true;
  }

 private:
  void CheckRiff() {
    std::array<uint8_t, 12> head{};
    const int n = source_->Read(head.data(), static_cast<int>(head.size()));
    if (n != static_cast<int>(head.size()) || std::memcmp(head.data(), "RIFF", 4) != 0 ||
        std::memcmp(head.data() + 8, "AVI ", 4) != 0) {
      Refuse();
    }
    source_->Seek(0, SEEK_SET);
  }

  void OpenContainer() {
    auto* buffer = static_cast<uint8_t*>(av_malloc(kIoBufferBytes));
    if (buffer == nullptr) Raise(kErrOutOfMemory);
    io_.reset(avio_alloc_context(buffer, kIoBufferBytes, 0, source_.get(), &ReadBytes, nullptr,
                                 &SeekBytes));
    if (!io_) {
      av_free(buffer);
      Raise(kErrOutOfMemory);
    }
    AVFormatContext* fmt = avformat_alloc_context();
    if (fmt == nullptr) Raise(kErrOutOfMemory);
    fmt->pb = io_.get();
    fmt->flags |= AVFMT_FLAG_CUSTOM_IO;
    fmt->max_streams = limits_.max_streams;
    fmt->format_whitelist = av_strdup("avi");
    // Only the AVI demuxer reads the file: nothing else is probed. On failure FFmpeg frees
    // the context itself.
    if (avformat_open_input(&fmt, nullptr, av_find_input_format("avi"), nullptr) < 0) Refuse();
    fmt_.reset(fmt);
    if (fmt_->nb_streams == 0 || fmt_->nb_streams > static_cast<unsigned>(limits_.max_streams)) {
      Refuse();
    }
  }

  void ChooseStreams() {
    video_index_ = av_find_best_stream(fmt_.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (video_index_ < 0) Refuse();
    const AVStream* video = fmt_->streams[video_index_];
    const AVCodecParameters& vp = *video->codecpar;
    if (!Listed(kVideoCodecs, vp.codec_id)) Refuse();
    if (vp.width <= 0 || vp.height <= 0 || vp.width > limits_.max_width ||
        vp.height > limits_.max_height) {
      Refuse();
    }
    // An AVI's picture stream counts in frames: its time base is one frame.
    const AVRational tb = video->time_base;
    if (tb.num <= 0 || tb.den <= 0) Refuse();
    const double fps = static_cast<double>(tb.den) / tb.num;
    if (fps < limits_.min_frames_per_second || fps > limits_.max_frames_per_second) Refuse();
    frame_ms_ = std::max<int64_t>(1, ToMs(1, tb));
    info_.width = vp.width;
    info_.height = vp.height;
    info_.frames_per_second = fps;

    const int sound =
        av_find_best_stream(fmt_.get(), AVMEDIA_TYPE_AUDIO, -1, video_index_, nullptr, 0);
    if (sound >= 0) {
      const AVCodecParameters& ap = *fmt_->streams[sound]->codecpar;
      if (!Listed(kSoundCodecs, ap.codec_id) || ap.sample_rate <= 0 ||
          ap.sample_rate > kMaxSampleRate || ap.ch_layout.nb_channels <= 0 ||
          ap.ch_layout.nb_channels > kMaxSoundChannels) {
        Refuse();
      }
      sound_index_ = sound;
      info_.has_sound = true;
    }
    for (unsigned i = 0; i < fmt_->nb_streams; ++i) {
      const int index = static_cast<int>(i);
      if (index != video_index_ && index != sound_index_) {
        fmt_->streams[i]->discard = AVDISCARD_ALL;
      }
    }
    int64_t duration = HeaderDuration(video_index_);
    if (sound_index_ >= 0) duration = std::max(duration, HeaderDuration(sound_index_));
    if (duration > limits_.max_duration_ms) Refuse();
    info_.duration_ms = duration;
  }

  int64_t HeaderDuration(int index) const {
    const AVStream* stream = fmt_->streams[index];
    if (stream->duration == AV_NOPTS_VALUE || stream->duration < 0) return 0;
    return ToMs(stream->duration, stream->time_base);
  }

  CodecPtr OpenCodec(const AVStream* stream) {
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (codec == nullptr) Refuse();
    CodecPtr context(avcodec_alloc_context3(codec));
    if (!context) Raise(kErrOutOfMemory);
    if (avcodec_parameters_to_context(context.get(), stream->codecpar) < 0) Refuse();
    context->pkt_timebase = stream->time_base;
    context->thread_count = 1;  // the player decodes on a thread of its own
    context->max_pixels = static_cast<int64_t>(limits_.max_width) * limits_.max_height;
    context->max_samples = int64_t{1} << 20;
    if (avcodec_open2(context.get(), codec, nullptr) < 0) Refuse();
    return context;
  }

  // Reads the next packet of our streams into its decoder; the end of what can be read
  // (or where the file breaks off) is the end of the input.
  void ReadPacket() {
    if (av_read_frame(fmt_.get(), packet_.get()) < 0) {
      input_done_ = true;
      return;
    }
    if (packet_->stream_index == video_index_) {
      avcodec_send_packet(video_.get(), packet_.get());  // a frame that fails is passed over
    } else if (packet_->stream_index == sound_index_) {
      avcodec_send_packet(sound_.get(), packet_.get());
    }
    av_packet_unref(packet_.get());
  }

  bool Receive(AVCodecContext* codec) {
    if (codec == nullptr) return false;
    const int result = avcodec_receive_frame(codec, frame_.get());
    if (result == 0) drain_rounds_ = 0;
    return result == 0;
  }

  bool Count(uint64_t bytes) {
    decoded_bytes_ += bytes;
    if (limits_.max_decoded_bytes != 0 && decoded_bytes_ > limits_.max_decoded_bytes) {
      ended_ = true;
    }
    return !ended_;
  }

  bool ConvertPicture(MovieVideoFrame& out) {
    const AVFrame& f = *frame_;
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(f.format));
    const int w = info_.width;
    const int h = info_.height;
    bool ok = desc != nullptr && f.width > 0 && f.height > 0 && f.width <= limits_.max_width &&
              f.height <= limits_.max_height &&
              Count(static_cast<uint64_t>(w) * static_cast<uint64_t>(h) * 4);
    if (ok) {
      // The movie's own size, whatever size a frame claims.
      scaler_.reset(sws_getCachedContext(
          scaler_.release(), f.width, f.height, static_cast<AVPixelFormat>(f.format), w, h,
          AV_PIX_FMT_RGB32, SWS_BILINEAR, nullptr, nullptr, nullptr));
      ok = scaler_ != nullptr;
    }
    if (!ok) {
      av_frame_unref(frame_.get());
      return false;
    }
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * static_cast<size_t>(h));
    std::array<uint8_t*, 4> planes{reinterpret_cast<uint8_t*>(pixels.data())};
    std::array<int, 4> strides{w * 4};
    sws_scale(scaler_.get(), f.data, f.linesize, 0, f.height, planes.data(), strides.data());
    // Movies are opaque: a palette's or a stream's alpha means nothing here.
    if ((desc->flags & (AV_PIX_FMT_FLAG_ALPHA | AV_PIX_FMT_FLAG_PAL)) != 0) {
      for (uint32_t& p : pixels)
        p |= 0xFF000000u;
    }
    const int64_t ts = f.best_effort_timestamp;
    int64_t ms =
        ts != AV_NOPTS_VALUE ? ToMs(ts, fmt_->streams[video_index_]->time_base) : video_end_ms_;
    ms = std::clamp<int64_t>(ms, 0, limits_.max_duration_ms);
    av_frame_unref(frame_.get());
    video_end_ms_ = std::max(video_end_ms_, ms + frame_ms_);
    out.time_ms = ms;
    out.image = std::make_shared<Image>(w, h, std::move(pixels), stream_id_);
    return true;
  }

  bool ConvertSound(MovieSoundPiece& out) {
    const AVFrame& f = *frame_;
    const int channels = f.ch_layout.nb_channels;
    bool ok = f.nb_samples > 0 && f.sample_rate > 0 && f.sample_rate <= kMaxSampleRate &&
              channels > 0 && channels <= kMaxSoundChannels && PrepareResampler(f);
    int room = ok ? swr_get_out_samples(resampler_.get(), f.nb_samples) : 0;
    ok = ok && room > 0 && Count(static_cast<uint64_t>(room) * kMixChannels * sizeof(int16_t));
    if (ok) {
      out.samples.resize(static_cast<size_t>(room) * kMixChannels);
      auto* dst = reinterpret_cast<uint8_t*>(out.samples.data());
      const int got = swr_convert(resampler_.get(), &dst, room,
                                  const_cast<const uint8_t**>(f.extended_data), f.nb_samples);
      ok = got > 0;
      out.samples.resize(ok ? static_cast<size_t>(got) * kMixChannels : 0);
      out.time_ms = sound_frames_ * 1000 / kMixRate;
      if (ok) sound_frames_ += got;
    }
    av_frame_unref(frame_.get());
    return ok;
  }

  // A resampler for the frame's format (made again when a stream changes its format).
  bool PrepareResampler(const AVFrame& f) {
    if (resampler_ && f.format == sound_format_ && f.sample_rate == sound_rate_ &&
        av_channel_layout_compare(&f.ch_layout, &sound_layout_) == 0) {
      return true;
    }
    resampler_.reset();
    av_channel_layout_uninit(&sound_layout_);
    if (av_channel_layout_copy(&sound_layout_, &f.ch_layout) < 0) return false;
    sound_format_ = f.format;
    sound_rate_ = f.sample_rate;
    AVChannelLayout in{};
    if (f.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
      av_channel_layout_default(&in, f.ch_layout.nb_channels);
    } else if (av_channel_layout_copy(&in, &f.ch_layout) < 0) {
      return false;
    }
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    SwrContext* swr = nullptr;
    const int made =
        swr_alloc_set_opts2(&swr, &stereo, AV_SAMPLE_FMT_S16, kMixRate, &in,
                            static_cast<AVSampleFormat>(f.format), f.sample_rate, 0, nullptr);
    av_channel_layout_uninit(&in);
    resampler_.reset(swr);
    if (made < 0 || swr_init(resampler_.get()) < 0) {
      resampler_.reset();
      return false;
    }
    return true;
  }

  int64_t SoundEndMs() const { return sound_frames_ * 1000 / kMixRate; }

  MovieLimits limits_;
  std::unique_ptr<ByteSource> source_;
  // The format context reads through the I/O context: it goes first.
  IoPtr io_;
  FormatPtr fmt_;
  CodecPtr video_;
  CodecPtr sound_;
  PacketPtr packet_;
  FramePtr frame_;
  ScalerPtr scaler_;
  ResamplerPtr resampler_;
  AVChannelLayout sound_layout_{};
  int sound_format_ = -1;
  int sound_rate_ = 0;
  MemoryLease lease_;
  MovieInfo info_;
  int video_index_ = -1;
  int sound_index_ = -1;
  int64_t frame_ms_ = 1;
  int64_t video_end_ms_ = 0;
  int64_t sound_frames_ = 0;
  uint64_t decoded_bytes_ = 0;
  uint64_t stream_id_ = Image::NewStreamId();
  bool input_done_ = false;
  bool flushed_ = false;
  bool ended_ = false;
  int drain_rounds_ = 0;
};

}  // namespace

std::unique_ptr<MovieDecoder> MovieDecoder::OpenFile(const std::filesystem::path& file,
                                                     const MovieLimits& limits,
                                                     MemoryBudget& budget) {
  return std::make_unique<FfmpegDecoder>(std::make_unique<FileSource>(file, limits.max_file_bytes),
                                         limits, budget);
}

std::unique_ptr<MovieDecoder> MovieDecoder::OpenBytes(std::span<const uint8_t> bytes,
                                                      const MovieLimits& limits,
                                                      MemoryBudget& budget) {
  return std::make_unique<FfmpegDecoder>(std::make_unique<MemorySource>(bytes), limits, budget);
}

}  // namespace qv::platform
