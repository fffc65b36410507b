# Makes the alert sound "ring.mp3": three soft bell notes rising through a C major chord
# (C6, E6, G6), each a sine with two quiet overtones of a struck bar (2.756 and 5.4 times the
# note) and a falling envelope, with a little reverb; 1.5 seconds.
# cmake -DSOX=<sox> -DLAME=<lame> -DWORK=<scratch folder> -DOUT=<mp3> -P ring.cmake
# sox -D (no dither) and lame without replay gain give the same bytes at every build.
file(MAKE_DIRECTORY ${WORK})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "ring.mp3: ${ARGN} failed")
  endif()
endfunction()

# A note of the given length that starts after the given silence (seconds).
function(bell name freq overtone1 overtone2 seconds start)
  set(note ${WORK}/${name}.wav)
  run(${SOX} -D -n -r 44100 -b 16 -c 1 ${note}
      synth ${seconds} sine ${freq} sine ${overtone1} sine ${overtone2}
      remix 1v0.78 2v0.18 3v0.04
      fade h 0.015 fade l 0 ${seconds} ${seconds})
  run(${SOX} -D ${note} ${WORK}/${name}_at.wav pad ${start})
endfunction()

bell(c6 1046.50 2884.15 5651.10 1.1 0)
bell(e6 1318.51 3633.81 7119.95 1.0 0.16)
bell(g6 1567.98 4321.35 8467.09 1.2 0.32)
run(${SOX} -D -m ${WORK}/c6_at.wav ${WORK}/e6_at.wav ${WORK}/g6_at.wav ${WORK}/chord.wav
    gain -n -4 reverb 20 50 60)
run(${SOX} -D ${WORK}/chord.wav ${WORK}/ring.wav fade 0 0 0.3)
run(${LAME} --quiet -m m -b 96 --noreplaygain ${WORK}/ring.wav ${OUT})
