if drav_get_gold( context, "party" ) >= 5 then
      drav_give_gold( context, -5 )
      drav_talk( context, "Aboard, then, and mind the rail." )
      drav_journal( context, "ferry_passage", "ferry_crossed" )
      drav_set_tag( context, "ferry_crossed" )
     else
      drav_talk( context, "That is not five gold. Come back when your purse is heavier." )
     end
