drav_talk( context, "The boatwright has not been at his slip for three days. He went into the reeds after those lights and never came back." )
     if not drav_check_assigned( context, "find_boatwright" ) then
      drav_assign_quest( context, "find_boatwright" )
      drav_journal( context, "find_boatwright", "boatwright_missing" )
     end
     drav_add_talk_path( context, "We will look for him.", "" )
     drav_add_talk_path( context, "Tell me something else.", "start" )
