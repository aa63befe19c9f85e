// SPDX-License-Identifier: MIT
#include "tests/support/avi_probe.h"
#include "tests/support/clip_builder.h"
#include "tests/support/md5.h"
#include "tests/support/temp_dir.h"

#include <filesystem>
#include <gst/base/gsttypefindhelper.h>
#include <gst/gst.h>
#include <gst/pbutils/pbutils.h>
#include <gtest/gtest.h>

#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <unistd.h>

namespace reelcraft {
namespace {

using test::Bytes;

// What one stream of a run brought: its caps, and every buffer's bytes and times.
struct Received {
  std::string caps;
  std::vector<std::string> md5s;
  Bytes joined;
  std::vector<GstClockTime> times, durations;
  std::vector<uint64_t> offsets;
};

struct Demuxed {
  std::map<std::string, Received> streams; // "video", "audio"
  int pads = 0;
  std::string error;
  std::vector<std::string> warnings;
  std::optional<gint64> duration; // after the preroll with a seek, else at the end
  std::string tags;               // as the sinks post them
  bool durationChanged = false;
  std::optional<gint64> segmentDone;
};

// Queued: filesrc through a queue, a stream that seeks only in bytes (as over HTTP).
enum class Source { File, Pipe, Uri, Queued };

struct Collector {
  GstElement *pipeline;
  std::mutex lock;
  std::condition_variable padsAdded;
  bool allPads = false;
  int segmentsDone = 0; // the sinks that have all of a segment
  Demuxed run;
};

GstPadProbeReturn OnSinkEvent(GstPad *, GstPadProbeInfo *info, gpointer data) {
  auto *collector = static_cast<Collector *>(data);
  if (GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info)) == GST_EVENT_SEGMENT_DONE) {
    std::lock_guard<std::mutex> hold(collector->lock);
    collector->segmentsDone++;
    collector->padsAdded.notify_all();
  }
  return GST_PAD_PROBE_OK;
}

void OnNoMorePads(GstElement *, gpointer data) {
  auto *collector = static_cast<Collector *>(data);
  std::lock_guard<std::mutex> hold(collector->lock);
  collector->allPads = true;
  collector->padsAdded.notify_all();
}

void OnHandoff(GstElement *, GstBuffer *buffer, GstPad *pad, gpointer data) {
  auto *collector = static_cast<Collector *>(data);
  GstCaps *caps = gst_pad_get_current_caps(pad);
  gchar *text = gst_caps_to_string(caps);
  gst_caps_unref(caps);
  std::string kind = g_str_has_prefix(text, "audio/") ? "audio" : "video";
  GstMapInfo map;
  gst_buffer_map(buffer, &map, GST_MAP_READ);
  Bytes bytes(map.data, map.data + map.size);
  gst_buffer_unmap(buffer, &map);
  std::lock_guard<std::mutex> hold(collector->lock);
  Received &stream = collector->run.streams[kind];
  stream.caps = text;
  g_free(text);
  stream.md5s.push_back(test::Md5Hex(bytes));
  stream.joined.insert(stream.joined.end(), bytes.begin(), bytes.end());
  stream.times.push_back(GST_BUFFER_PTS(buffer));
  stream.durations.push_back(GST_BUFFER_DURATION(buffer));
  stream.offsets.push_back(GST_BUFFER_OFFSET(buffer));
}

// Each stream into a fakesink through a queue of its own, as players have them: one thread
// cannot preroll two sinks.
void OnPadAdded(GstElement *, GstPad *pad, gpointer data) {
  auto *collector = static_cast<Collector *>(data);
  collector->run.pads++;
  GstElement *queue = gst_element_factory_make("queue", nullptr);
  GstElement *sink = gst_element_factory_make("fakesink", nullptr);
  g_object_set(sink, "sync", FALSE, "signal-handoffs", TRUE, nullptr);
  g_signal_connect(sink, "handoff", G_CALLBACK(OnHandoff), collector);
  gst_bin_add_many(GST_BIN(collector->pipeline), queue, sink, nullptr);
  gst_element_link(queue, sink);
  GstPad *sinkEnd = gst_element_get_static_pad(sink, "sink");
  gst_pad_add_probe(sinkEnd, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, OnSinkEvent, collector, nullptr);
  gst_object_unref(sinkEnd);
  gst_element_sync_state_with_parent(sink);
  gst_element_sync_state_with_parent(queue);
  GstPad *sinkPad = gst_element_get_static_pad(queue, "sink");
  gst_pad_link(pad, sinkPad);
  gst_object_unref(sinkPad);
}

// Reads the bus until the end, segment-done or an error; keeps what the run posted.
void RunToEnd(Collector &collector) {
  GstBus *bus = gst_element_get_bus(collector.pipeline);
  auto types =
      GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR | GST_MESSAGE_WARNING | GST_MESSAGE_TAG |
                     GST_MESSAGE_DURATION_CHANGED | GST_MESSAGE_SEGMENT_DONE);
  auto goesOn =
      GstMessageType(GST_MESSAGE_WARNING | GST_MESSAGE_TAG | GST_MESSAGE_DURATION_CHANGED);
  while (GstMessage *message = gst_bus_timed_pop_filtered(bus, 60 * GST_SECOND, types)) {
    GError *error = nullptr;
    GstMessageType type = GST_MESSAGE_TYPE(message);
    collector.run.durationChanged |= type == GST_MESSAGE_DURATION_CHANGED;
    if (type == GST_MESSAGE_SEGMENT_DONE)
      gst_message_parse_segment_done(message, nullptr, &collector.run.segmentDone.emplace());
    if (type == GST_MESSAGE_TAG) {
      GstTagList *tags = nullptr;
      gst_message_parse_tag(message, &tags);
      gchar *text = gst_tag_list_to_string(tags);
      collector.run.tags += text;
      g_free(text);
      gst_tag_list_unref(tags);
    }
    if (type == GST_MESSAGE_ERROR || type == GST_MESSAGE_WARNING) {
      (type == GST_MESSAGE_ERROR ? gst_message_parse_error
                                 : gst_message_parse_warning)(message, &error, nullptr);
      if (type == GST_MESSAGE_WARNING)
        collector.run.warnings.push_back(error->message);
      else
        collector.run.error = error->message;
      g_error_free(error);
    }
    gst_message_unref(message);
    if (!(type & goesOn))
      break;
  }
  gst_object_unref(bus);
}

struct Seek {
  GstClockTime to;
  GstSeekFlags flags = GST_SEEK_FLAG_FLUSH;
  GstClockTime stop = GST_CLOCK_TIME_NONE;
};

// Demuxes `clip` into fakesinks that keep what they get: from filesrc (pull mode), from fdsrc
// over a pipe (push mode), or decoded by uridecodebin. With `seekTo`, the pipeline prerolls and
// seeks there, flushing, and only what follows is kept.
Demuxed Demux(const std::string &clip, Source source, std::optional<Seek> seek = {}) {
  Collector collector;
  collector.pipeline = gst_pipeline_new(nullptr);
  GstElement *demux = nullptr;
  int pipe[2] = {-1, -1};
  std::thread writer;
  if (source == Source::Uri) {
    demux = gst_element_factory_make("uridecodebin", nullptr);
    gchar *uri = gst_filename_to_uri(clip.c_str(), nullptr);
    g_object_set(demux, "uri", uri, nullptr);
    g_free(uri);
    gst_bin_add(GST_BIN(collector.pipeline), demux);
  } else {
    GstElement *reader = nullptr;
    if (source == Source::File || source == Source::Queued) {
      reader = gst_element_factory_make("filesrc", nullptr);
      g_object_set(reader, "location", clip.c_str(), nullptr);
    } else {
      EXPECT_EQ(::pipe(pipe), 0);
      reader = gst_element_factory_make("fdsrc", nullptr);
      g_object_set(reader, "fd", pipe[0], nullptr);
      writer = std::thread([bytes = test::ReadFileBytes(clip), fd = pipe[1]] {
        for (size_t at = 0; at < bytes.size();) {
          ssize_t written = write(fd, bytes.data() + at, bytes.size() - at);
          if (written <= 0)
            break;
          at += size_t(written);
        }
        close(fd);
      });
    }
    demux = gst_element_factory_make("qvjdemux", nullptr);
    EXPECT_NE(demux, nullptr) << "the plugin is not found in " << PLUGIN_FOLDER;
    gst_bin_add_many(GST_BIN(collector.pipeline), reader, demux, nullptr);
    if (source == Source::Queued) {
      GstElement *queue = gst_element_factory_make("queue", nullptr);
      gst_bin_add(GST_BIN(collector.pipeline), queue);
      gst_element_link(reader, queue);
      reader = queue;
    }
    gst_element_link(reader, demux);
  }
  g_signal_connect(demux, "pad-added", G_CALLBACK(OnPadAdded), &collector);
  g_signal_connect(demux, "no-more-pads", G_CALLBACK(OnNoMorePads), &collector);

  if (seek) {
    // Prerolled once the sinks of all the pads have a buffer.
    gst_element_set_state(collector.pipeline, GST_STATE_PAUSED);
    {
      std::unique_lock<std::mutex> hold(collector.lock);
      collector.padsAdded.wait_for(hold, std::chrono::seconds(60),
                                   [&] { return collector.allPads; });
    }
    gst_element_get_state(collector.pipeline, nullptr, nullptr, 60 * GST_SECOND);
    gint64 duration = 0;
    if (gst_element_query_duration(collector.pipeline, GST_FORMAT_TIME, &duration))
      collector.run.duration = duration;
    EXPECT_TRUE(gst_element_seek(collector.pipeline, 1.0, GST_FORMAT_TIME, seek->flags,
                                 GST_SEEK_TYPE_SET, gint64(seek->to), GST_SEEK_TYPE_SET,
                                 gint64(seek->stop)));
    gst_element_get_state(collector.pipeline, nullptr, nullptr, 60 * GST_SECOND);
    std::lock_guard<std::mutex> hold(collector.lock);
    collector.run.streams.clear();
  }
  gst_element_set_state(collector.pipeline, GST_STATE_PLAYING);
  RunToEnd(collector);
  if (collector.run.segmentDone) {
    // The demuxer has posted it; the sinks are still at the segment's end.
    std::unique_lock<std::mutex> hold(collector.lock);
    collector.padsAdded.wait_for(hold, std::chrono::seconds(60),
                                 [&] { return collector.segmentsDone == collector.run.pads; });
  }
  gint64 duration = 0;
  if (!seek && gst_element_query_duration(collector.pipeline, GST_FORMAT_TIME, &duration))
    collector.run.duration = duration;
  gst_element_set_state(collector.pipeline, GST_STATE_NULL);
  gst_object_unref(collector.pipeline);
  if (writer.joinable()) {
    close(pipe[0]); // a writer still at it gives up
    writer.join();
  }
  return std::move(collector.run);
}

// The AVI file qvj2avi writes for a clip: its pictures and its sound, or its message.
struct Converted {
  std::vector<std::string> pictures;
  Bytes sound;
  std::string message; // what it said about the clip, without the clip's name
};

Converted ConvertWithQvj2avi(const std::string &clip, const std::string &avi, bool sound = true) {
  std::filesystem::remove(avi);
  test::CommandResult result =
      test::RunCommand(test::ShellQuote(QVJ2AVI_PATH) + " -q -f -o " + test::ShellQuote(avi) + " " +
                       test::ShellQuote(clip) + " 2>&1");
  Converted converted;
  std::string prefix = clip + ": ";
  if (result.output.starts_with(prefix))
    converted.message =
        result.output.substr(prefix.size(), result.output.find('\n') - prefix.size());
  // A clip that ends early keeps its AVI, though the status says it is incomplete.
  if (std::filesystem::exists(avi)) {
    converted.pictures = test::PacketMd5s(avi, "0:v");
    if (sound)
      converted.sound = test::StreamBytes(avi, "0:a");
  }
  return converted;
}

GstClockTime PictureTime(uint64_t index, uint16_t frameRate) {
  return gst_util_uint64_scale(index, 2 * GST_SECOND, frameRate);
}

Bytes Tone(size_t bytes) {
  Bytes pcm(bytes);
  for (size_t i = 0; i < bytes; ++i)
    pcm[i] = uint8_t(128 + (i * 7 % 64) - (i / 3 % 32));
  return pcm;
}

test::ClipSpec WithSound(int pictures, uint16_t rate, uint16_t channels, uint16_t bits,
                         double seconds) {
  test::ClipSpec spec;
  spec.pictures = test::MakePictures(pictures);
  spec.audio = test::ClipAudio{};
  spec.audio->sampleRate = rate;
  spec.audio->channels = channels;
  spec.audio->bitsPerSample = bits;
  spec.audio->pcm = Tone(size_t(seconds * rate) * channels * bits / 8);
  return spec;
}

class QvjDemuxTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    setenv("GST_PLUGIN_PATH", PLUGIN_FOLDER, 1);
    setenv("GST_REGISTRY", REGISTRY_FILE, 1);
    std::signal(SIGPIPE, SIG_IGN);
    gst_init(nullptr, nullptr);
  }

  test::TempDir dir;
  std::string clip = dir / "clip.qvj";
  std::string avi = dir / "clip.avi";
};

TEST_F(QvjDemuxTest, EveryPictureAndTheSoundAreThoseOfTheAviInBothModes) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  struct Case {
    const char *what;
    test::ClipSpec spec;
    const char *caps[2]; // what the pads' caps hold
    const char *warning;
  };
  test::ClipSpec plain;
  plain.pictures = test::MakePictures(30);
  plain.gaps = {Bytes(700, 0x11), {}, Bytes(3, 0xFF)};
  test::ClipSpec damaged;
  damaged.pictures = test::MakePictures(8, 640, 480);
  damaged.width = 640;
  damaged.height = 480;
  damaged.frameCount = 12;
  damaged.frameRate = 25;
  test::ClipSpec mono = WithSound(40, 8000, 1, 8, 2.9);
  test::ClipSpec stereo = WithSound(20, 22050, 2, 16, 1.3);
  stereo.frameCount = 12;
  stereo.audio->pictureBlocksPerAudioBlock = 1;
  stereo.audio->endWithAudio = true;
  test::ClipSpec cutShort = WithSound(6, 11025, 1, 8, 1);
  cutShort.frameCount = 9;
  cutShort.frameRate = 25;
  const Case cases[] = {
      {"no sound, gaps, 15/s",
       plain,
       {"image/jpeg, parsed=(boolean)true, framerate=(fraction)15/1, width=(int)320, "
        "height=(int)240",
        nullptr},
       nullptr},
      {"damaged: fewer pictures than counted, 12.5/s",
       damaged,
       {"framerate=(fraction)25/2, width=(int)640, height=(int)480", nullptr},
       "incomplete, 8 of 12 pictures"},
      {"8-bit mono sound, window slides",
       mono,
       {"framerate=(fraction)15/1", "format=(string)U8, layout=(string)interleaved, "
                                    "rate=(int)8000, channels=(int)1"},
       nullptr},
      {"16-bit stereo sound, fewer pictures counted than there are",
       stereo,
       {"image/jpeg", "format=(string)S16LE, layout=(string)interleaved, rate=(int)22050, "
                      "channels=(int)2"},
       nullptr},
      {"damaged with sound: the sound goes on",
       cutShort,
       {"framerate=(fraction)25/2", "rate=(int)11025"},
       "incomplete, 6 of 9 pictures"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    test::WriteClip(clip, c.spec);
    Converted expected = ConvertWithQvj2avi(clip, avi, c.spec.audio.has_value());
    ASSERT_FALSE(expected.pictures.empty());
    if (c.spec.audio) {
      ASSERT_FALSE(expected.sound.empty());
    }
    std::optional<Demuxed> pulled;
    for (Source source : {Source::File, Source::Pipe}) {
      SCOPED_TRACE(source == Source::File ? "pull mode" : "push mode");
      Demuxed run = Demux(clip, source);
      EXPECT_EQ(run.error, "");
      EXPECT_EQ(run.warnings,
                c.warning ? std::vector<std::string>{c.warning} : std::vector<std::string>{});
      EXPECT_EQ(run.duration, gint64(PictureTime(expected.pictures.size(), c.spec.frameRate)));
      EXPECT_EQ(run.durationChanged, c.warning != nullptr);
      EXPECT_NE(run.tags.find("container-format=(string)QVJ"), std::string::npos) << run.tags;
      EXPECT_NE(run.tags.find("video-codec=(string)JPEG"), std::string::npos);
      EXPECT_EQ(run.streams.size(), c.spec.audio ? 2u : 1u);
      Received &video = run.streams["video"];
      EXPECT_NE(video.caps.find(c.caps[0]), std::string::npos) << video.caps;
      EXPECT_EQ(video.md5s, expected.pictures);
      for (size_t i = 0; i < video.times.size(); ++i) {
        EXPECT_EQ(video.times[i], PictureTime(i, c.spec.frameRate)) << i;
        EXPECT_EQ(video.durations[i], PictureTime(i + 1, c.spec.frameRate) - video.times[i]);
        EXPECT_EQ(video.offsets[i], i);
      }
      if (c.spec.audio) {
        Received &sound = run.streams["audio"];
        EXPECT_NE(sound.caps.find(c.caps[1]), std::string::npos) << sound.caps;
        uint64_t frameSize = c.spec.audio->channels * c.spec.audio->bitsPerSample / 8;
        EXPECT_NE(run.tags.find("bitrate=(uint)" +
                                std::to_string(c.spec.audio->sampleRate * frameSize * 8)),
                  std::string::npos);
        EXPECT_EQ(sound.joined, expected.sound);
        GstClockTime at = 0;
        for (size_t i = 0; i < sound.times.size(); ++i) {
          EXPECT_EQ(sound.times[i], at) << "no gap and no overlap, buffer " << i;
          at += sound.durations[i];
          EXPECT_EQ(sound.times[i],
                    gst_util_uint64_scale(sound.offsets[i], GST_SECOND, c.spec.audio->sampleRate));
        }
        EXPECT_EQ(at, gst_util_uint64_scale(expected.sound.size() / frameSize, GST_SECOND,
                                            c.spec.audio->sampleRate));
      }
      if (pulled) {
        EXPECT_EQ(run.streams["audio"].times, pulled->streams["audio"].times)
            << "the same buffers as in pull mode";
      }
      pulled = std::move(run);
    }
  }
}

TEST_F(QvjDemuxTest, ASeekStartsAtThePictureShownThenAndTheSoundFromThere) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  test::WriteClip(clip, WithSound(40, 8000, 1, 8, 2.9));
  Converted expected = ConvertWithQvj2avi(clip, avi);
  ASSERT_EQ(expected.pictures.size(), 40u);
  struct Case {
    const char *what;
    Source source;
    Seek seek;
    size_t pictures[2]; // the first and the one after the last
    size_t sound[2];    // bytes (one a sample), 0 for the end
    std::optional<gint64> segmentDone;
  };
  const GstClockTime ms = GST_MSECOND, end = PictureTime(40, 30);
  const auto key = GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_KEY_UNIT);
  const auto loop = GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_SEGMENT);
  // 1.3 s lies in the span of picture 19 (1.2667 s to 1.3333 s) and is sample 10400.
  const Case cases[] = {
      {"to the middle", Source::File, {1300 * ms}, {19, 40}, {10400, 0}, {}},
      {"a key unit at the end: the last", Source::File, {end, key}, {39, 40}, {20800, 0}, {}},
      {"a segment", Source::File, {500 * ms, loop, 1000 * ms}, {7, 15}, {4000, 8000}, 1000 * ms},
      {"a segment to the end", Source::File, {2000 * ms, loop}, {30, 40}, {16000, 0}, end},
      {"a stream that seeks in bytes", Source::Queued, {1300 * ms}, {19, 40}, {10400, 0}, {}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    Demuxed run = Demux(clip, c.source, c.seek);
    EXPECT_EQ(run.error, "");
    EXPECT_EQ(run.duration, gint64(PictureTime(40, 30)));
    EXPECT_EQ(run.segmentDone, c.segmentDone);
    Received &video = run.streams["video"];
    ASSERT_FALSE(video.times.empty());
    EXPECT_EQ(video.offsets.front(), c.pictures[0]);
    EXPECT_EQ(video.times.front(), PictureTime(c.pictures[0], 30));
    EXPECT_EQ(video.md5s, std::vector<std::string>(expected.pictures.begin() + c.pictures[0],
                                                   expected.pictures.begin() + c.pictures[1]));
    Received &sound = run.streams["audio"];
    ASSERT_FALSE(sound.times.empty());
    EXPECT_EQ(sound.times.front(), c.sound[0] * GST_SECOND / 8000);
    EXPECT_EQ(sound.joined,
              Bytes(expected.sound.begin() + c.sound[0],
                    c.sound[1] ? expected.sound.begin() + c.sound[1] : expected.sound.end()));
  }
}

TEST_F(QvjDemuxTest, DecodebinAndTheDiscovererFindTheClipByItsType) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  if (!gst_registry_check_feature_version(gst_registry_get(), "jpegdec", 1, 0, 0))
    GTEST_SKIP() << "needs GStreamer's jpegdec (Debian: gstreamer1.0-plugins-good)";
  test::WriteClip(clip, WithSound(12, 16000, 1, 16, 1));
  Converted expected = ConvertWithQvj2avi(clip, avi);

  Demuxed run = Demux(clip, Source::Uri);
  EXPECT_EQ(run.error, "");
  EXPECT_EQ(run.streams["video"].caps.rfind("video/x-raw", 0), 0u) << run.streams["video"].caps;
  EXPECT_EQ(run.streams["video"].times.size(), 12u);
  EXPECT_EQ(run.streams["audio"].joined, expected.sound);

  // What gst-discoverer-1.0 prints: the streams and the duration.
  gchar *uri = gst_filename_to_uri(clip.c_str(), nullptr);
  GstDiscoverer *discoverer = gst_discoverer_new(60 * GST_SECOND, nullptr);
  GstDiscovererInfo *info = gst_discoverer_discover_uri(discoverer, uri, nullptr);
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(gst_discoverer_info_get_result(info), GST_DISCOVERER_OK);
  EXPECT_EQ(gst_discoverer_info_get_duration(info), PictureTime(12, 30));
  GList *videos = gst_discoverer_info_get_video_streams(info);
  GList *sounds = gst_discoverer_info_get_audio_streams(info);
  EXPECT_EQ(g_list_length(videos), 1u);
  EXPECT_EQ(g_list_length(sounds), 1u);
  gst_discoverer_stream_info_list_free(videos);
  gst_discoverer_stream_info_list_free(sounds);
  gst_discoverer_info_unref(info);
  g_object_unref(discoverer);
  g_free(uri);

  // The type finder names clips by their magic, and by their extension.
  Bytes bytes = test::ReadFileBytes(clip);
  GstTypeFindProbability probability = GST_TYPE_FIND_NONE;
  GstCaps *caps = gst_type_find_helper_for_data(nullptr, bytes.data(), bytes.size(), &probability);
  ASSERT_NE(caps, nullptr);
  EXPECT_STREQ(gst_structure_get_name(gst_caps_get_structure(caps, 0)), "video/x-qvj");
  EXPECT_EQ(probability, GST_TYPE_FIND_MAXIMUM);
  gst_caps_unref(caps);
  GstPluginFeature *finder = gst_registry_lookup_feature(gst_registry_get(), "video/x-qvj");
  ASSERT_NE(finder, nullptr);
  const gchar *const *extensions =
      gst_type_find_factory_get_extensions(GST_TYPE_FIND_FACTORY(finder));
  EXPECT_TRUE(extensions && g_strv_contains(extensions, "qvj"));
  gst_object_unref(finder);
}

TEST_F(QvjDemuxTest, ARejectedClipPostsTheConvertersMessage) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  test::ClipSpec spec;
  spec.pictures = test::MakePictures(2);
  Bytes whole = test::BuildClip(spec).file;
  Bytes lowerCase = whole;
  std::copy_n("qvav01", 6, lowerCase.begin());
  Bytes notText = whole;
  std::copy_n("\xff\xfe\x1b", 3, notText.begin());
  Bytes noPicture(300000, 0x5A);
  std::copy_n(whole.begin(), 512, noPicture.begin());
  const std::pair<const char *, Bytes> cases[] = {
      {"empty", {}},
      {"shorter than a header", Bytes(whole.begin(), whole.begin() + 34)},
      {"lower-case magic", lowerCase},
      {"magic of no text: escaped as the converter does, for GLib's UTF-8", notText},
      {"no picture", noPicture},
  };
  for (const auto &[what, bytes] : cases) {
    SCOPED_TRACE(what);
    test::WriteFileBytes(clip, bytes);
    Converted expected = ConvertWithQvj2avi(clip, avi, false);
    ASSERT_NE(expected.message, "");
    for (Source source : {Source::File, Source::Pipe}) {
      Demuxed run = Demux(clip, source);
      EXPECT_EQ(run.error, expected.message);
      EXPECT_EQ(run.pads, 0) << "no stream of a refused clip";
    }
  }
}

// The stream left unlinked still ends, so that the pipeline does.
TEST_F(QvjDemuxTest, ADecodedClipWithOneStreamUnlinkedComesToItsEnd) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  test::WriteClip(clip, WithSound(30, 8000, 1, 8, 2));
  gchar *uri = gst_filename_to_uri(clip.c_str(), nullptr);
  std::string line = std::string("uridecodebin uri=") + uri + " ! fakesink";
  g_free(uri);
  for (int run = 0; run < 50; ++run) {
    GstElement *pipeline = gst_parse_launch(line.c_str(), nullptr);
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstMessage *end =
        gst_bus_timed_pop_filtered(GST_ELEMENT_BUS(pipeline), 20 * GST_SECOND,
                                   GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    EXPECT_TRUE(end && GST_MESSAGE_TYPE(end) == GST_MESSAGE_EOS) << "run " << run;
    if (end)
      gst_message_unref(end);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
  }
}

} // namespace
} // namespace reelcraft
