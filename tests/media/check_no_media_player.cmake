# Fails when a source names the audio library's player or recorder: without a sound server
# they crash or hang. The player records and plays through the AudioDevice layer.
file(GLOB_RECURSE sources "${SRC}/*.cpp" "${SRC}/*.h")
set(faults)
foreach(f IN LISTS sources)
  file(STRINGS "${f}" hits REGEX "QMedia(Player|Recorder)")
  if(hits)
    list(APPEND faults "${f}")
  endif()
endforeach()
if(faults)
  list(JOIN faults "\n" text)
  message(FATAL_ERROR "QMediaPlayer or QMediaRecorder used in:\n${text}")
endif()
