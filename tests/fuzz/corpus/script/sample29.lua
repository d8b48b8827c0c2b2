drav_talk( context, "A ferryman walks, and sleeps, and snores. Think again." )
      drav_add_talk_path( context, "Ask again.", "riddle" )
