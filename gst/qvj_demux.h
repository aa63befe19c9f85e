// SPDX-License-Identifier: MIT
#pragma once

#include <gst/gst.h>

G_BEGIN_DECLS

// qvjdemux: a clip's pictures (image/jpeg, video_0) and its sound (audio/x-raw, audio_0).
#define GST_TYPE_QVJ_DEMUX (gst_qvj_demux_get_type())
G_DECLARE_FINAL_TYPE(GstQvjDemux, gst_qvj_demux, GST, QVJ_DEMUX, GstElement)

G_END_DECLS
