#pragma once
// Owning handles for FFmpeg objects: each kind has one alias, and the object is released
// exactly once when its handle goes, whatever path the code leaves by.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <memory>

namespace qv::platform {

struct FfmpegRelease {
  void operator()(AVFormatContext* p) const { avformat_close_input(&p); }
  void operator()(AVCodecContext* p) const { avcodec_free_context(&p); }
  void operator()(AVFrame* p) const { av_frame_free(&p); }
  void operator()(AVPacket* p) const { av_packet_free(&p); }
  void operator()(SwsContext* p) const { sws_freeContext(p); }
  void operator()(SwrContext* p) const { swr_free(&p); }
  void operator()(AVIOContext* p) const {
    if (p != nullptr) av_freep(&p->buffer);  // ours, possibly replaced by FFmpeg
    avio_context_free(&p);
  }
};

using FormatPtr = std::unique_ptr<AVFormatContext, FfmpegRelease>;
using CodecPtr = std::unique_ptr<AVCodecContext, FfmpegRelease>;
using FramePtr = std::unique_ptr<AVFrame, FfmpegRelease>;
using PacketPtr = std::unique_ptr<AVPacket, FfmpegRelease>;
using ScalerPtr = std::unique_ptr<SwsContext, FfmpegRelease>;
using ResamplerPtr = std::unique_ptr<SwrContext, FfmpegRelease>;
using IoPtr = std::unique_ptr<AVIOContext, FfmpegRelease>;

}  // namespace qv::platform
