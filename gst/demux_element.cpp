// SPDX-License-Identifier: MIT
#include "gst/demux_element.h"

#include "cli/terminal.h"
#include "gst/clip_streams.h"
#include "sys/raw_file.h"

#include <gst/pbutils/pbutils.h>

#include <algorithm>
#include <utility>

GST_DEBUG_CATEGORY_STATIC(qvj_demux_debug);
#define GST_CAT_DEFAULT qvj_demux_debug

namespace reelcraft {

namespace {

// Pull mode reads in the pieces the page cache serves best; push mode feeds in them.
constexpr guint kPieceSize = guint(kIoPieceSize);
// What push mode holds back of a stream that runs ahead of the other in the clip, at most.
constexpr size_t kMostHeldInPushMode = size_t(8) << 20;

GstStaticPadTemplate sinkTemplate =
    GST_STATIC_PAD_TEMPLATE("sink", GST_PAD_SINK, GST_PAD_ALWAYS, GST_STATIC_CAPS("video/x-qvj"));
GstStaticPadTemplate videoTemplate = GST_STATIC_PAD_TEMPLATE(
    "video_%u", GST_PAD_SRC, GST_PAD_SOMETIMES, GST_STATIC_CAPS("image/jpeg, parsed=true"));
GstStaticPadTemplate audioTemplate = GST_STATIC_PAD_TEMPLATE(
    "audio_%u", GST_PAD_SRC, GST_PAD_SOMETIMES,
    GST_STATIC_CAPS("audio/x-raw, format=(string){ U8, S16LE, S24LE, S32LE }, "
                    "layout=(string)interleaved, rate=(int)[1, 65535], channels=(int)[1, 8]"));

} // namespace

void DemuxElement::AddPadTemplates(GstElementClass *elementClass) {
  GST_DEBUG_CATEGORY_INIT(qvj_demux_debug, "qvjdemux", 0, "Reelcraft clip demuxer");
  for (GstStaticPadTemplate *padTemplate : {&sinkTemplate, &videoTemplate, &audioTemplate})
    gst_element_class_add_static_pad_template(elementClass, padTemplate);
}

DemuxElement::DemuxElement(GstElement *element)
    : element_(element), sinkpad_(gst_pad_new_from_static_template(&sinkTemplate, "sink")),
      combiner_(gst_flow_combiner_new()) {
  gst_pad_set_element_private(sinkpad_, this);
  gst_pad_set_activate_function(sinkpad_, SinkActivate);
  gst_pad_set_activatemode_function(sinkpad_, SinkActivateMode);
  gst_pad_set_chain_function(sinkpad_, SinkChain);
  gst_pad_set_event_function(sinkpad_, SinkEvent);
  gst_element_add_pad(element_, sinkpad_);
  Reset();
}

// The pads went with the element's disposal; the combiner's references keep them until here.
DemuxElement::~DemuxElement() {
  Drop(video_);
  Drop(audio_);
  gst_flow_combiner_free(combiner_);
}

void DemuxElement::Reset() {
  RemoveStreams();
  GST_OBJECT_LOCK(element_);
  header_.reset();
  picturesInClip_.reset();
  pendingSeek_.reset();
  GST_OBJECT_UNLOCK(element_);
  gst_segment_init(&segment_, GST_FORMAT_TIME);
  seqnum_ = gst_util_seqnum_next();
  Restart({});
  rejected_ = false;
}

// The pad functions, on the element that set itself as their pads' private data.

DemuxElement &DemuxElement::Of(GstPad *pad) {
  return *static_cast<DemuxElement *>(gst_pad_get_element_private(pad));
}

gboolean DemuxElement::SinkActivate(GstPad *pad, GstObject *) {
  GstQuery *query = gst_query_new_scheduling();
  bool pull = gst_pad_peer_query(pad, query) &&
              gst_query_has_scheduling_mode_with_flags(query, GST_PAD_MODE_PULL,
                                                       GST_SCHEDULING_FLAG_SEEKABLE);
  gst_query_unref(query);
  return gst_pad_activate_mode(pad, pull ? GST_PAD_MODE_PULL : GST_PAD_MODE_PUSH, TRUE);
}

gboolean DemuxElement::SinkActivateMode(GstPad *pad, GstObject *, GstPadMode mode,
                                        gboolean active) {
  return Of(pad).ActivateMode(mode, active);
}

GstFlowReturn DemuxElement::SinkChain(GstPad *pad, GstObject *, GstBuffer *buffer) {
  return Of(pad).Chain(buffer);
}

gboolean DemuxElement::SinkEvent(GstPad *pad, GstObject *parent, GstEvent *event) {
  return Of(pad).OnSinkEvent(pad, parent, event);
}

gboolean DemuxElement::SourceEvent(GstPad *pad, GstObject *parent, GstEvent *event) {
  if (GST_EVENT_TYPE(event) != GST_EVENT_SEEK)
    return gst_pad_event_default(pad, parent, event);
  bool done = Of(pad).Seek(event);
  gst_event_unref(event);
  return done;
}

gboolean DemuxElement::SourceQuery(GstPad *pad, GstObject *parent, GstQuery *query) {
  return Of(pad).OnSourceQuery(pad, parent, query);
}

void DemuxElement::PullLoop(gpointer element) { static_cast<DemuxElement *>(element)->Loop(); }

bool DemuxElement::ActivateMode(GstPadMode mode, bool active) {
  if (mode == GST_PAD_MODE_PUSH) {
    pullMode_ = false;
    return true;
  }
  if (mode != GST_PAD_MODE_PULL)
    return false;
  if (!active)
    return gst_pad_stop_task(sinkpad_);
  pullMode_ = true;
  return gst_pad_start_task(sinkpad_, PullLoop, this, nullptr);
}

// Pull mode, on the pad's task: hands on what is due, then reads on for the stream waited for.
void DemuxElement::Loop() {
  if (!pictureCursor_)
    pictureCursor_ = std::make_unique<Cursor>(*this, true, false, start_);
  GstFlowReturn result = Release();
  if (result == GST_FLOW_OK)
    result = ReadOn();
  if (result == GST_FLOW_OK)
    result = Release();
  if (result == GST_FLOW_OK && AllEnded())
    result = GST_FLOW_EOS;
  if (rejected_)
    result = GST_FLOW_ERROR;
  if (result != GST_FLOW_OK)
    Pause(result);
}

// Push mode: the bytes as upstream hands them over, in pieces, so that what is held back stays
// bounded whatever the size of upstream's buffers.
GstFlowReturn DemuxElement::Chain(GstBuffer *buffer) {
  if (!pictureCursor_)
    pictureCursor_ = std::make_unique<Cursor>(*this, true, true, start_);
  Cursor &cursor = *pictureCursor_;
  GstMapInfo map;
  if (!gst_buffer_map(buffer, &map, GST_MAP_READ)) {
    gst_buffer_unref(buffer);
    return GST_FLOW_ERROR;
  }
  for (size_t at = 0; at < map.size && !cursor.Done() && flow_ == GST_FLOW_OK; at += kPieceSize) {
    cursor.Feed(map.data + at, std::min<size_t>(kPieceSize, map.size - at));
    Release();
  }
  gst_buffer_unmap(buffer, &map);
  gst_buffer_unref(buffer);
  if (rejected_)
    return GST_FLOW_ERROR;
  if (flow_ == GST_FLOW_OK && AllEnded())
    return GST_FLOW_EOS;
  return flow_;
}

bool DemuxElement::OnSinkEvent(GstPad *pad, GstObject *parent, GstEvent *event) {
  switch (GST_EVENT_TYPE(event)) {
  case GST_EVENT_EOS:
    if (!pictureCursor_)
      pictureCursor_ = std::make_unique<Cursor>(*this, true, true, start_);
    pictureCursor_->Finish();
    Release();
    EndAll();
    gst_event_unref(event);
    return true;
  // Upstream's bytes become streams of our own, with their own segments.
  case GST_EVENT_SEGMENT:
  case GST_EVENT_CAPS:
  case GST_EVENT_STREAM_START:
    gst_event_unref(event);
    return true;
  case GST_EVENT_FLUSH_STOP: {
    // A stream that starts again for a seek of ours: what follows is its first byte on.
    GST_OBJECT_LOCK(element_);
    std::optional<PendingSeek> seek = std::exchange(pendingSeek_, std::nullopt);
    GST_OBJECT_UNLOCK(element_);
    flow_ = GST_FLOW_OK;
    gst_flow_combiner_reset(combiner_);
    if (seek) {
      segment_ = seek->segment;
      seqnum_ = seek->seqnum;
      Restart(seek->start);
    }
    return gst_pad_event_default(pad, parent, event);
  }
  default:
    return gst_pad_event_default(pad, parent, event);
  }
}

bool DemuxElement::OnSourceQuery(GstPad *pad, GstObject *parent, GstQuery *query) {
  GstFormat format = GST_FORMAT_UNDEFINED;
  switch (GST_QUERY_TYPE(query)) {
  case GST_QUERY_DURATION: {
    gst_query_parse_duration(query, &format, nullptr);
    std::optional<GstClockTime> duration = Duration();
    if (format != GST_FORMAT_TIME || !duration)
      return false;
    gst_query_set_duration(query, GST_FORMAT_TIME, gint64(*duration));
    return true;
  }
  case GST_QUERY_SEEKING: {
    gst_query_parse_seeking(query, &format, nullptr, nullptr, nullptr);
    if (format != GST_FORMAT_TIME)
      return false;
    std::optional<GstClockTime> duration = Duration();
    // A stream seeks where it can start again from its first byte.
    gboolean seekable = pullMode_;
    if (!pullMode_) {
      GstQuery *bytes = gst_query_new_seeking(GST_FORMAT_BYTES);
      if (gst_pad_peer_query(sinkpad_, bytes))
        gst_query_parse_seeking(bytes, nullptr, &seekable, nullptr, nullptr);
      gst_query_unref(bytes);
    }
    // Untimed pictures (a frame rate of 0) have no time to seek to.
    gst_query_set_seeking(query, GST_FORMAT_TIME, seekable && duration && *duration > 0, 0,
                          duration ? gint64(*duration) : -1);
    return true;
  }
  default:
    return gst_pad_query_default(pad, parent, query);
  }
}

DemuxElement::Cursor::Cursor(DemuxElement &element, bool pictures, bool sound, DemuxStart start)
    : pictures(pictures), sound(sound), element_(element),
      demuxer_(*this, {start.firstPicture, start.firstSoundByte, pictures}) {}

void DemuxElement::Cursor::Feed(const uint8_t *bytes, size_t size) {
  demuxer_.Feed(bytes, size);
  MarkIfDone();
}

void DemuxElement::Cursor::Finish() {
  demuxer_.Finish();
  MarkIfDone();
}

void DemuxElement::Cursor::MarkIfDone() {
  if (!demuxer_.Done())
    return;
  if (pictures)
    element_.video_.finished = true;
  if (sound)
    element_.audio_.finished = true;
}

size_t DemuxElement::Cursor::Streams(const ClipHeader &header) {
  return element_.OnStreams(*this, header);
}

bool DemuxElement::Cursor::Picture(uint32_t index, PictureBytes picture) {
  return element_.OnPicture(*this, index, picture);
}

bool DemuxElement::Cursor::Sound(uint64_t offset, std::span<const uint8_t> bytes) {
  return element_.OnSound(*this, offset, bytes);
}

bool DemuxElement::Cursor::PicturesEnded(const std::string &message) {
  return element_.OnPicturesEnded(*this, demuxer_.PicturesFound(), message);
}

void DemuxElement::Cursor::Rejected(const std::string &message) { element_.Reject(message); }

size_t DemuxElement::OnStreams(const Cursor &cursor, const ClipHeader &header) {
  if (!video_.present) {
    GST_OBJECT_LOCK(element_);
    header_ = header;
    GST_OBJECT_UNLOCK(element_);
    std::optional<GstAudioInfo> sound = SoundInfo(header);
    video_.present = true;
    audio_.present = sound.has_value();
    if (sound)
      soundInfo_ = *sound;
  }
  if (!audio_.present || !cursor.sound)
    return 0;
  // Pieces of a tenth of a second.
  return size_t(std::max(1, soundInfo_.rate / 10)) * size_t(soundInfo_.bpf);
}

// The pads come once the converter would take the clip, when its first picture is found, so
// that a player sees no stream of a clip that is refused.
void DemuxElement::Announce() {
  if (video_.pad)
    return;
  guint group = gst_util_group_id_next();
  AddStream(video_, &videoTemplate, "video_0", "video", PictureCaps(*header_), group);
  const ClipHeader &header = *header_;
  if (audio_.present)
    AddStream(audio_, &audioTemplate, "audio_0", "audio", gst_audio_info_to_caps(&soundInfo_),
              group);
  else if (header.audioPresent && uint32_t(header.channels) * header.bitsPerSample / 8 > 0)
    // Sound the AVI file keeps, in no form GStreamer has.
    Warn("The sound (" + std::to_string(header.bitsPerSample) + "-bit samples in " +
         std::to_string(header.channels) + (header.channels == 1 ? " channel" : " channels") +
         ") is left out: GStreamer has no format for it");
  gst_element_no_more_pads(element_);
}

bool DemuxElement::OnPicture(const Cursor &cursor, uint32_t index, PictureBytes picture) {
  Announce();
  const ClipHeader &header = *header_;
  bool timed = header.frameRate > 0;
  GstClockTime time = timed ? PictureTime(header, index) : GST_CLOCK_TIME_NONE;
  if (timed && PastStop(time)) {
    video_.finished = true;
    return WantsMore(cursor);
  }
  GstBuffer *buffer = gst_buffer_new_allocate(nullptr, picture.size(), nullptr);
  gst_buffer_fill(buffer, 0, picture.data(), picture.size());
  GST_BUFFER_PTS(buffer) = GST_BUFFER_DTS(buffer) = time;
  GST_BUFFER_DURATION(buffer) = timed ? PictureTime(header, index + 1) - time : time;
  GST_BUFFER_OFFSET(buffer) = index;
  GST_BUFFER_OFFSET_END(buffer) = index + 1;
  Hold(video_, buffer);
  return WantsMore(cursor);
}

bool DemuxElement::OnSound(const Cursor &cursor, uint64_t offset, std::span<const uint8_t> bytes) {
  const uint64_t frameSize = uint64_t(soundInfo_.bpf);
  // A last sample cut short is no sample.
  size_t whole = size_t(bytes.size() - bytes.size() % frameSize);
  uint64_t first = offset / frameSize;
  uint64_t end = first + whole / frameSize;
  GstClockTime time = gst_util_uint64_scale(first, GST_SECOND, uint64_t(soundInfo_.rate));
  if (whole == 0)
    return WantsMore(cursor);
  if (PastStop(time)) {
    audio_.finished = true;
    return WantsMore(cursor);
  }
  GstBuffer *buffer = gst_buffer_new_allocate(nullptr, whole, nullptr);
  gst_buffer_fill(buffer, 0, bytes.data(), whole);
  GST_BUFFER_PTS(buffer) = GST_BUFFER_DTS(buffer) = time;
  GST_BUFFER_DURATION(buffer) =
      gst_util_uint64_scale(end, GST_SECOND, uint64_t(soundInfo_.rate)) - time;
  GST_BUFFER_OFFSET(buffer) = first;
  GST_BUFFER_OFFSET_END(buffer) = end;
  Hold(audio_, buffer);
  return WantsMore(cursor);
}

// The walk has ended: from now on the duration is that of the pictures found. A clip that holds
// fewer than its header counts is said to be incomplete once, as the converter says it.
bool DemuxElement::OnPicturesEnded(const Cursor &cursor, uint32_t found,
                                   const std::string &message) {
  video_.finished = true;
  GST_OBJECT_LOCK(element_);
  bool first = !picturesInClip_;
  picturesInClip_ = found;
  GST_OBJECT_UNLOCK(element_);
  if (!first)
    return WantsMore(cursor);
  const ClipHeader &header = *header_;
  if (found < header.frameCount)
    Warn("incomplete, " + std::to_string(found) + " of " + std::to_string(header.frameCount) +
             " pictures",
         message.substr(0, message.find_last_not_of('\n') + 1));
  if (found != std::max<uint16_t>(header.frameCount, 1))
    gst_element_post_message(element_, gst_message_new_duration_changed(GST_OBJECT(element_)));
  return WantsMore(cursor);
}

// The clip's own bytes (a magic that is not ours) reach GLib, which takes UTF-8 only.
void DemuxElement::Reject(const std::string &message) {
  rejected_ = true;
  GST_ELEMENT_ERROR(element_, STREAM, DEMUX, ("%s", TerminalSafeText(message).c_str()), (nullptr));
}

void DemuxElement::Warn(const std::string &message, const std::string &detail) {
  GST_ELEMENT_WARNING(element_, STREAM, DEMUX, ("%s", TerminalSafeText(message).c_str()),
                      ("%s", TerminalSafeText(detail).c_str()));
}

bool DemuxElement::WantsMore(const Cursor &cursor) const {
  return (cursor.pictures && !video_.finished) ||
         (cursor.sound && audio_.present && !audio_.finished);
}

void DemuxElement::Restart(DemuxStart start) {
  start_ = start;
  pictureCursor_.reset();
  soundCursor_.reset();
  flow_ = GST_FLOW_OK;
  gst_flow_combiner_reset(combiner_);
  for (Stream *stream : {&video_, &audio_}) {
    Drop(*stream);
    stream->finished = stream->ended = false;
    stream->discont = stream->segmentDue = true;
  }
}

void DemuxElement::AddStream(Stream &stream, GstStaticPadTemplate *padTemplate, const char *name,
                             const char *streamName, GstCaps *caps, guint group) {
  GstPad *pad = gst_pad_new_from_static_template(padTemplate, name);
  gst_pad_set_element_private(pad, this);
  gst_pad_set_event_function(pad, SourceEvent);
  gst_pad_set_query_function(pad, SourceQuery);
  gst_pad_use_fixed_caps(pad);
  gst_pad_set_active(pad, TRUE);
  gchar *id = gst_pad_create_stream_id(pad, element_, streamName);
  GstEvent *start = gst_event_new_stream_start(id);
  g_free(id);
  gst_event_set_group_id(start, group);
  gst_pad_push_event(pad, start);
  gst_pad_push_event(pad, gst_event_new_caps(caps));
  // What players and gst-discoverer-1.0 show of the clip and its streams.
  GstTagList *tags = gst_tag_list_new_empty();
  bool audio = &stream == &audio_;
  gst_pb_utils_add_codec_description_to_tag_list(
      tags, audio ? GST_TAG_AUDIO_CODEC : GST_TAG_VIDEO_CODEC, caps);
  if (audio)
    gst_tag_list_add(tags, GST_TAG_MERGE_REPLACE, GST_TAG_BITRATE,
                     guint(soundInfo_.rate) * guint(soundInfo_.bpf) * 8u, nullptr);
  gst_pad_push_event(pad, gst_event_new_tag(tags));
  GstTagList *clip = gst_tag_list_new(GST_TAG_CONTAINER_FORMAT, "QVJ", nullptr);
  gst_tag_list_set_scope(clip, GST_TAG_SCOPE_GLOBAL);
  gst_pad_push_event(pad, gst_event_new_tag(clip));
  gst_caps_unref(caps);
  gst_element_add_pad(element_, pad);
  gst_flow_combiner_add_pad(combiner_, pad);
  stream.pad = pad;
}

void DemuxElement::RemoveStreams() {
  for (Stream *stream : {&video_, &audio_}) {
    Drop(*stream);
    if (!stream->pad)
      continue;
    gst_flow_combiner_remove_pad(combiner_, stream->pad);
    gst_pad_set_active(stream->pad, FALSE);
    gst_element_remove_pad(element_, stream->pad);
    *stream = Stream();
  }
}

// The pictures the walk has found in the clip, or until it has ended those the header counts
// (a count of 0 still gives one).
uint32_t DemuxElement::PictureCount() {
  GST_OBJECT_LOCK(element_);
  uint32_t count =
      picturesInClip_ ? *picturesInClip_ : std::max<uint32_t>(header_ ? header_->frameCount : 0, 1);
  GST_OBJECT_UNLOCK(element_);
  return count;
}

// 0 for untimed pictures (a frame rate of 0).
std::optional<GstClockTime> DemuxElement::Duration() {
  GST_OBJECT_LOCK(element_);
  std::optional<ClipHeader> header = header_;
  GST_OBJECT_UNLOCK(element_);
  if (!header)
    return std::nullopt;
  return header->frameRate == 0 ? 0 : PictureTime(*header, PictureCount());
}

// A segment seek ends in segment-done rather than in the end of the streams.
bool DemuxElement::SegmentMode() const { return segment_.flags & GST_SEGMENT_FLAG_SEGMENT; }

bool DemuxElement::PastStop(GstClockTime time) const {
  return GST_CLOCK_TIME_IS_VALID(segment_.stop) && time >= segment_.stop;
}

void DemuxElement::Hold(Stream &stream, GstBuffer *buffer) {
  stream.pending.push_back(buffer);
  stream.pendingBytes += gst_buffer_get_size(buffer);
}

void DemuxElement::Drop(Stream &stream) {
  for (GstBuffer *buffer : stream.pending)
    gst_buffer_unref(buffer);
  stream.pending.clear();
  stream.pendingBytes = 0;
}

// More may come to `stream` and nothing of it is in hand: the other stream's buffers wait.
bool DemuxElement::Waits(const Stream &stream) const {
  return stream.present && !stream.finished && stream.pending.empty();
}

// Hands on the buffers in the order of their times, as far as both streams have come.
GstFlowReturn DemuxElement::Release() {
  auto holdingTooMuch = [this] {
    return !pullMode_ && video_.pendingBytes + audio_.pendingBytes > kMostHeldInPushMode;
  };
  if (!video_.pad) {
    if (!holdingTooMuch())
      return flow_;
    Announce(); // sound too far ahead of the first picture in a stream
  }
  while (flow_ == GST_FLOW_OK) {
    Stream *next = Earliest();
    if (!next)
      break;
    Stream &other = next == &video_ ? audio_ : video_;
    if (Waits(other) && !holdingTooMuch())
      break;
    GstBuffer *buffer = next->pending.front();
    next->pending.pop_front();
    next->pendingBytes -= gst_buffer_get_size(buffer);
    Push(*next, buffer);
  }
  for (Stream *stream : {&video_, &audio_})
    if (stream->finished && stream->pending.empty())
      End(*stream);
  return flow_;
}

DemuxElement::Stream *DemuxElement::Earliest() {
  if (video_.pending.empty())
    return audio_.pending.empty() ? nullptr : &audio_;
  if (audio_.pending.empty())
    return &video_;
  // Untimed pictures (a frame rate of 0) go first.
  GstClockTime picture = GST_BUFFER_PTS(video_.pending.front());
  return !GST_CLOCK_TIME_IS_VALID(picture) || picture <= GST_BUFFER_PTS(audio_.pending.front())
             ? &video_
             : &audio_;
}

void DemuxElement::SendSegment(Stream &stream) {
  if (!stream.segmentDue)
    return;
  GstEvent *event = gst_event_new_segment(&segment_);
  gst_event_set_seqnum(event, seqnum_);
  gst_pad_push_event(stream.pad, event);
  stream.segmentDue = false;
}

void DemuxElement::Push(Stream &stream, GstBuffer *buffer) {
  if (stream.ended) {
    gst_buffer_unref(buffer);
    return;
  }
  SendSegment(stream);
  if (stream.discont)
    GST_BUFFER_FLAG_SET(buffer, GST_BUFFER_FLAG_DISCONT);
  stream.discont = false;
  GstFlowReturn result = gst_pad_push(stream.pad, buffer);
  flow_ = gst_flow_combiner_update_pad_flow(combiner_, stream.pad, result);
  if (result == GST_FLOW_EOS) {
    stream.finished = true;
    End(stream);
  }
}

// No more buffers on `stream`, linked or not: a pad without its end stalls whatever waits for
// all of them (decodebin, a muxer, a bin's end of stream).
void DemuxElement::End(Stream &stream, bool natural) {
  Drop(stream);
  if (!stream.pad || stream.ended)
    return;
  stream.ended = true;
  SendSegment(stream);
  GstEvent *event = nullptr;
  if (natural && SegmentMode()) {
    GstClockTime stop =
        GST_CLOCK_TIME_IS_VALID(segment_.stop) ? segment_.stop : Duration().value_or(0);
    event = gst_event_new_segment_done(GST_FORMAT_TIME, gint64(stop));
  } else {
    event = gst_event_new_eos();
  }
  gst_event_set_seqnum(event, seqnum_);
  gst_pad_push_event(stream.pad, event);
}

void DemuxElement::EndAll(bool natural) {
  End(video_, natural);
  End(audio_, natural);
}

bool DemuxElement::AllEnded() const {
  return video_.pad && video_.ended && (!audio_.pad || audio_.ended);
}

// Pull mode: reads on with the cursor whose stream the release waits for, the pictures' until
// the first is found.
GstFlowReturn DemuxElement::ReadOn() {
  Cursor *cursor = nullptr;
  if (!video_.pad || Waits(video_)) {
    cursor = pictureCursor_.get();
  } else if (Waits(audio_)) {
    if (!soundCursor_)
      soundCursor_ = std::make_unique<Cursor>(*this, false, true, start_);
    cursor = soundCursor_.get();
  }
  if (!cursor)
    return GST_FLOW_OK;
  GstBuffer *buffer = nullptr;
  GstFlowReturn result = gst_pad_pull_range(sinkpad_, cursor->offset, kPieceSize, &buffer);
  if (result == GST_FLOW_EOS) {
    cursor->Finish();
    return flow_;
  }
  if (result != GST_FLOW_OK)
    return result;
  GstMapInfo map;
  if (gst_buffer_map(buffer, &map, GST_MAP_READ)) {
    cursor->offset += map.size;
    cursor->Feed(map.data, map.size);
    gst_buffer_unmap(buffer, &map);
  } else {
    result = GST_FLOW_ERROR;
  }
  gst_buffer_unref(buffer);
  return result == GST_FLOW_OK ? flow_ : result;
}

void DemuxElement::Pause(GstFlowReturn result) {
  GST_DEBUG_OBJECT(element_, "pausing: %s", gst_flow_get_name(result));
  gst_pad_pause_task(sinkpad_);
  if (result == GST_FLOW_FLUSHING)
    return;
  bool natural = result == GST_FLOW_EOS && !rejected_;
  if (!natural && !rejected_)
    GST_ELEMENT_FLOW_ERROR(element_, result);
  EndAll(natural);
  if (natural && SegmentMode()) {
    GstClockTime stop =
        GST_CLOCK_TIME_IS_VALID(segment_.stop) ? segment_.stop : Duration().value_or(0);
    GstMessage *done =
        gst_message_new_segment_done(GST_OBJECT(element_), GST_FORMAT_TIME, gint64(stop));
    gst_message_set_seqnum(done, seqnum_);
    gst_element_post_message(element_, done);
  }
}

// A seek starts both readings anew, handing on from the picture shown at the time sought and
// the sound from that time; what lies before is read, not handed on. A stream (push mode) is
// asked to start again from its first byte, where a file is read again by the pull mode's
// cursors: either way the pictures are those the walk from the start finds.
bool DemuxElement::Seek(GstEvent *event) {
  double rate = 1;
  GstFormat format = GST_FORMAT_UNDEFINED;
  GstSeekFlags flags = GST_SEEK_FLAG_NONE;
  GstSeekType startType = GST_SEEK_TYPE_NONE, stopType = GST_SEEK_TYPE_NONE;
  gint64 start = 0, stop = 0;
  gst_event_parse_seek(event, &rate, &format, &flags, &startType, &start, &stopType, &stop);
  bool flush = flags & GST_SEEK_FLAG_FLUSH;
  // Backwards (rate < 0) is not played; a stream's bytes come again only after a flush.
  std::optional<GstClockTime> duration = Duration();
  if (format != GST_FORMAT_TIME || rate <= 0 || !duration || *duration == 0 ||
      (!pullMode_ && !flush))
    return false;
  guint32 seqnum = gst_event_get_seqnum(event);
  auto target = [&](GstSegment &segment) {
    gboolean update = FALSE;
    gst_segment_do_seek(&segment, rate, format, flags, startType, uint64_t(start), stopType,
                        uint64_t(stop), &update);
    return SeekStart(segment, flags);
  };
  if (!pullMode_) {
    GstSegment segment = segment_;
    DemuxStart seekStart = target(segment);
    GST_OBJECT_LOCK(element_);
    pendingSeek_ = PendingSeek{segment, seekStart, seqnum};
    GST_OBJECT_UNLOCK(element_);
    GstEvent *again = gst_event_new_seek(1.0, GST_FORMAT_BYTES, GST_SEEK_FLAG_FLUSH,
                                         GST_SEEK_TYPE_SET, 0, GST_SEEK_TYPE_NONE, -1);
    gst_event_set_seqnum(again, seqnum);
    if (gst_pad_push_event(sinkpad_, again))
      return true;
    GST_OBJECT_LOCK(element_);
    pendingSeek_.reset();
    GST_OBJECT_UNLOCK(element_);
    return false;
  }
  if (flush)
    PushFlush(gst_event_new_flush_start(), seqnum);
  else
    gst_pad_pause_task(sinkpad_);

  GST_PAD_STREAM_LOCK(sinkpad_);
  GstSegment segment = segment_;
  DemuxStart seekStart = target(segment);
  if (flush)
    PushFlush(gst_event_new_flush_stop(TRUE), seqnum);
  segment_ = segment;
  seqnum_ = seqnum;
  Restart(seekStart);
  gst_pad_start_task(sinkpad_, PullLoop, this, nullptr);
  GST_PAD_STREAM_UNLOCK(sinkpad_);
  return true;
}

// Where the readings start for `segment`, a seek's. Every picture is a key unit: snapping
// moves the start to the picture's own, and from the end (or past it) to the last picture's.
DemuxStart DemuxElement::SeekStart(GstSegment &segment, GstSeekFlags flags) {
  const ClipHeader &header = *header_;
  uint64_t picture = PictureAt(header, segment.position);
  if (flags & (GST_SEEK_FLAG_KEY_UNIT | GST_SEEK_FLAG_SNAP_BEFORE)) {
    picture = std::min<uint64_t>(picture, PictureCount() - 1);
    segment.start = segment.time = segment.position = PictureTime(header, picture);
  }
  uint64_t soundByte =
      audio_.present ? SampleAt(soundInfo_, segment.position) * uint64_t(soundInfo_.bpf) : 0;
  return {uint32_t(std::min<uint64_t>(picture, UINT32_MAX)), soundByte};
}

// Upstream, so that a pull in progress gives up, and downstream, so that a push does.
void DemuxElement::PushFlush(GstEvent *event, guint32 seqnum) {
  gst_event_set_seqnum(event, seqnum);
  for (Stream *stream : {&video_, &audio_})
    if (stream->pad)
      gst_pad_push_event(stream->pad, gst_event_ref(event));
  gst_pad_push_event(sinkpad_, event);
}

} // namespace reelcraft
