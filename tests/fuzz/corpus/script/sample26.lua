drav_talk( context, "The stone heron turns its head toward you." )
      drav_add_talk_path( context, "Ask about the river", "riddle" )
