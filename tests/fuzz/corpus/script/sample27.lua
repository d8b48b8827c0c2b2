drav_talk( context, "What runs but never walks, and has a bed but never sleeps?" )
      drav_add_talk_path( context, "The river.", "answered" )
      drav_add_talk_path( context, "A ferryman.", "wrong" )
