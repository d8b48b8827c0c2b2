if drav_check_tag( context, "ferry_crossed" ) then
      drav_talk( context, "Back again? MAINNAME never could keep away from the river." )
      if drav_get_faction_rank( context, "ferrymen" ) == 0 then
       drav_add_talk_path( context, "Does the Guild need another pair of hands?", "join" )
      end
      return
     end
     drav_talk( context, "Hold there. Nobody boards my ferry without paying: five gold a crossing, and the same for everyone." )
     drav_set_tag( context, "ferry_fare_asked" )
     drav_journal( context, "ferry_passage", "ferry_fare" )
     drav_add_talk_path( context, "Here is the fare.", "pay" )
     drav_add_talk_path( context, "Not today.", "" )
