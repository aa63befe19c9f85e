// SPDX-License-Identifier: MIT
// The GStreamer plugin: the clip type finder and qvjdemux, so that every GStreamer program
// (players, gst-discoverer-1.0, transcoding pipelines) reads clips directly.
#include "engine/clip_header.h"
#include "gst/qvj_demux.h"

#include <gst/pbutils/pbutils.h>

#include <cstring>

namespace {

GstStaticCaps clipCaps = GST_STATIC_CAPS("video/x-qvj");

// Clips begin with the magic; nothing else about them is certain before the demuxer walks them.
void FindClipType(GstTypeFind *find, gpointer) {
  const guint8 *bytes = gst_type_find_peek(find, 0, reelcraft::kClipMagicSize);
  if (bytes && std::memcmp(bytes, reelcraft::kClipMagic, reelcraft::kClipMagicSize) == 0)
    gst_type_find_suggest(find, GST_TYPE_FIND_MAXIMUM, gst_static_caps_get(&clipCaps));
}

gboolean InitPlugin(GstPlugin *plugin) {
  gst_pb_utils_init(); // the codecs' names in the streams' tags
  return gst_type_find_register(plugin, "video/x-qvj", GST_RANK_PRIMARY, FindClipType, "qvj",
                                gst_static_caps_get(&clipCaps), nullptr, nullptr) &&
         gst_element_register(plugin, "qvjdemux", GST_RANK_PRIMARY, GST_TYPE_QVJ_DEMUX);
}

} // namespace

#define PACKAGE "reelcraft"
GST_PLUGIN_DEFINE(GST_VERSION_MAJOR, GST_VERSION_MINOR, reelcraft,
                  "Reelcraft camera clips (.qvj): type finder and demuxer", InitPlugin,
                  REELCRAFT_VERSION, "MIT/X11", "Reelcraft", REELCRAFT_HOMEPAGE)
