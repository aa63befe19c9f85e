// SPDX-License-Identifier: MIT
#include "gst/qvj_demux.h"

#include "gst/demux_element.h"

struct _GstQvjDemux {
  GstElement parent;
  reelcraft::DemuxElement *demux;
};

G_DEFINE_TYPE(GstQvjDemux, gst_qvj_demux, GST_TYPE_ELEMENT)

namespace {

GstStateChangeReturn ChangeState(GstElement *element, GstStateChange transition) {
  reelcraft::DemuxElement &demux = *GST_QVJ_DEMUX(element)->demux;
  if (transition == GST_STATE_CHANGE_READY_TO_PAUSED)
    demux.Reset();
  GstStateChangeReturn result =
      GST_ELEMENT_CLASS(gst_qvj_demux_parent_class)->change_state(element, transition);
  if (transition == GST_STATE_CHANGE_PAUSED_TO_READY)
    demux.Reset();
  return result;
}

void Finalize(GObject *object) {
  delete GST_QVJ_DEMUX(object)->demux;
  G_OBJECT_CLASS(gst_qvj_demux_parent_class)->finalize(object);
}

} // namespace

static void gst_qvj_demux_class_init(GstQvjDemuxClass *klass) {
  G_OBJECT_CLASS(klass)->finalize = Finalize;
  GstElementClass *element = GST_ELEMENT_CLASS(klass);
  element->change_state = ChangeState;
  reelcraft::DemuxElement::AddPadTemplates(element);
  gst_element_class_set_static_metadata(
      element, "QVJ clip demuxer", "Codec/Demuxer",
      "Splits a Reelcraft camera clip into its JPEG pictures and its PCM sound", "Reelcraft");
}

static void gst_qvj_demux_init(GstQvjDemux *self) {
  self->demux = new reelcraft::DemuxElement(GST_ELEMENT(self));
}
