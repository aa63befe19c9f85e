// SPDX-License-Identifier: MIT
#pragma once

#include "engine/clip_demuxer.h"

#include <gst/audio/audio.h>
#include <gst/base/gstflowcombiner.h>
#include <gst/gst.h>

#include <deque>
#include <memory>
#include <optional>
#include <string>

namespace reelcraft {

// The work of qvjdemux; its GObject only creates it and forwards the state changes.
//
// Buffers go downstream in the order of their times across both streams, so that a muxer or a
// player taking both in one thread never waits for the one while the other is blocked. In pull
// mode the pictures and the sound are read by two cursors over the clip, each as far as its
// time has come; in push mode one reading serves both, and what runs ahead is held back, up to
// a bound.
class DemuxElement {
public:
  static void AddPadTemplates(GstElementClass *elementClass);

  // Adds the sink pad to `element`.
  explicit DemuxElement(GstElement *element);
  ~DemuxElement();
  DemuxElement(const DemuxElement &) = delete;
  DemuxElement &operator=(const DemuxElement &) = delete;

  // Before a run and after it: no streams, the clip to be read from its start.
  void Reset();

private:
  struct Stream {
    bool present = false;            // the clip has it
    GstPad *pad = nullptr;           // once announced
    std::deque<GstBuffer *> pending; // made, waiting for their turn
    size_t pendingBytes = 0;
    bool finished = false; // nothing more comes into `pending`
    bool ended = false;    // EOS handed on
    bool discont = true;
    bool segmentDue = true;
  };

  // One reading of the clip from its start, for the pictures, the sound or both.
  class Cursor final : public DemuxOutput {
  public:
    Cursor(DemuxElement &element, bool pictures, bool sound, DemuxStart start);
    void Feed(const uint8_t *bytes, size_t size);
    void Finish();
    bool Done() const { return demuxer_.Done(); }

    size_t Streams(const ClipHeader &header) override;
    bool Picture(uint32_t index, PictureBytes picture) override;
    bool Sound(uint64_t offset, std::span<const uint8_t> bytes) override;
    bool PicturesEnded(const std::string &message) override;
    void Rejected(const std::string &message) override;

    const bool pictures;
    const bool sound;
    uint64_t offset = 0;

  private:
    void MarkIfDone();

    DemuxElement &element_;
    ClipDemuxer demuxer_;
  };

  static DemuxElement &Of(GstPad *pad);
  static gboolean SinkActivate(GstPad *pad, GstObject *parent);
  static gboolean SinkActivateMode(GstPad *pad, GstObject *parent, GstPadMode mode,
                                   gboolean active);
  static GstFlowReturn SinkChain(GstPad *pad, GstObject *parent, GstBuffer *buffer);
  static gboolean SinkEvent(GstPad *pad, GstObject *parent, GstEvent *event);
  static gboolean SourceEvent(GstPad *pad, GstObject *parent, GstEvent *event);
  static gboolean SourceQuery(GstPad *pad, GstObject *parent, GstQuery *query);
  static void PullLoop(gpointer element);

  bool ActivateMode(GstPadMode mode, bool active);
  void Loop();
  GstFlowReturn Chain(GstBuffer *buffer);
  bool OnSinkEvent(GstPad *pad, GstObject *parent, GstEvent *event);
  bool OnSourceQuery(GstPad *pad, GstObject *parent, GstQuery *query);

  size_t OnStreams(const Cursor &cursor, const ClipHeader &header);
  bool OnPicture(const Cursor &cursor, uint32_t index, PictureBytes picture);
  bool OnSound(const Cursor &cursor, uint64_t offset, std::span<const uint8_t> bytes);
  bool OnPicturesEnded(const Cursor &cursor, uint32_t found, const std::string &message);
  void Reject(const std::string &message);
  void Warn(const std::string &message, const std::string &detail = {});
  void Announce();
  bool WantsMore(const Cursor &cursor) const;

  void Restart(DemuxStart start);
  void AddStream(Stream &stream, GstStaticPadTemplate *padTemplate, const char *name,
                 const char *streamName, GstCaps *caps, guint group);
  void RemoveStreams();
  uint32_t PictureCount();
  std::optional<GstClockTime> Duration();
  bool SegmentMode() const;
  bool PastStop(GstClockTime time) const;
  void Hold(Stream &stream, GstBuffer *buffer);
  static void Drop(Stream &stream);
  bool Waits(const Stream &stream) const;
  GstFlowReturn Release();
  Stream *Earliest();
  void SendSegment(Stream &stream);
  void Push(Stream &stream, GstBuffer *buffer);
  // `natural`: the stream came to its end, rather than to an error.
  void End(Stream &stream, bool natural = true);
  void EndAll(bool natural = true);
  bool AllEnded() const;
  GstFlowReturn ReadOn();
  void Pause(GstFlowReturn result);
  bool Seek(GstEvent *event);
  DemuxStart SeekStart(GstSegment &segment, GstSeekFlags flags);
  void PushFlush(GstEvent *event, guint32 seqnum);

  GstElement *element_;
  GstPad *sinkpad_;
  GstFlowCombiner *combiner_;
  Stream video_;
  Stream audio_;
  std::optional<ClipHeader> header_; // under the object lock: queries read it
  // Once a walk has ended: the pictures the clip holds, whatever its header says. Seeks walk
  // the same clip again, so it is kept until the next run. Under the object lock.
  std::optional<uint32_t> picturesInClip_;
  // A seek in push mode, taken up when the stream flushed for it starts again. Under the
  // object lock: it is made in the seeker's thread.
  struct PendingSeek {
    GstSegment segment;
    DemuxStart start;
    guint32 seqnum;
  };
  std::optional<PendingSeek> pendingSeek_;
  GstAudioInfo soundInfo_{};
  GstSegment segment_{};
  guint32 seqnum_ = 0;
  bool pullMode_ = false;
  GstFlowReturn flow_ = GST_FLOW_OK;
  bool rejected_ = false;
  DemuxStart start_;
  std::unique_ptr<Cursor> pictureCursor_;
  std::unique_ptr<Cursor> soundCursor_;
};

} // namespace reelcraft
